// A tiny shared object without a file version, for the version reader's tests.
extern "C" int versionless_probe_answer() { return 7; }
