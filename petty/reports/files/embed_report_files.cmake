# Writes OUTPUT: a C++ source that holds every file of FILES as text, for
# shippedReportFiles() (report_files.h).
# FILES: the paths separated by "|".
string(REPLACE "|" ";" FILES "${FILES}")
set(body "")
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  file(READ "${file}" text)
  string(APPEND body "    {\"${name}\", R\"rpt(${text})rpt\"},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from petty/reports/files at build time.\n"
"#include \"petty/reports/files/report_files.h\"\n\n"
"namespace petty {\n\n"
"const std::vector<ShippedReportFile>& shippedReportFiles() {\n"
"    static const std::vector<ShippedReportFile> files = {\n${body}    };\n"
"    return files;\n}\n\n}  // namespace petty\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
