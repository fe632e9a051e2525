/* A C host's scratch folder, fresh for each run: paths in it, what is left in
 * it, and its removal at the end (kept when a check failed, for a look). */
#ifndef SCANVELT_C_HOST_SCRATCH_H
#define SCANVELT_C_HOST_SCRATCH_H
#include <dirent.h>
#include <unistd.h>

#include "c_host_abi.h"

static char scratch[256];

/* Makes the folder /tmp/scanvelt-HOST-XXXXXX; 0 when it cannot be made. */
static inline int makeScratch(const char* host) {
    snprintf(scratch, sizeof scratch, "/tmp/scanvelt-%s-XXXXXX", host);
    if (mkdtemp(scratch)) return 1;
    perror("mkdtemp");
    return 0;
}

/* A path in the folder; the last eight stay valid. */
static inline const char* pathIn(const char* name) {
    static char paths[8][512];
    static int next = 0;
    char* path = paths[next++ % 8];
    snprintf(path, sizeof paths[0], "%s/%s", scratch, name);
    return path;
}

/* Entries of a folder, temporary files included; each is named on stderr. */
static inline int entriesIn(const char* folder) {
    DIR* dir = opendir(folder);
    if (!dir) return -1;
    int count = 0;
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) {
            fprintf(stderr, "left in %s: %s\n", folder, entry->d_name);
            ++count;
        }
    }
    closedir(dir);
    return count;
}

/* The file's bytes (at most size - 1, then a NUL); -1 when it cannot be read. */
static inline long readWhole(const char* path, char* buffer, long size) {
    FILE* f = fopen(path, "rb");
    if (!f) return -1;
    long n = (long)fread(buffer, 1, (size_t)size - 1, f);
    fclose(f);
    buffer[n < 0 ? 0 : n] = 0;
    return n;
}

/* The output of a shell command (at most size - 1 bytes); 0 when it failed. */
static inline int run(const char* command, char* out, size_t size) {
    FILE* pipe = popen(command, "r");
    if (!pipe) return 0;
    size_t n = fread(out, 1, size - 1, pipe);
    out[n] = 0;
    return pclose(pipe) == 0;
}

/* Removes the folder unless a check failed; the host's exit code. */
static inline int finishScratch(void) {
    char command[600];
    snprintf(command, sizeof command, "rm -rf '%s'", scratch);
    if (!failures && system(command) != 0) fprintf(stderr, "cannot remove %s\n", scratch);
    if (failures) fprintf(stderr, "%d check(s) failed (files kept in %s)\n", failures, scratch);
    return failures ? 1 : 0;
}

#endif
