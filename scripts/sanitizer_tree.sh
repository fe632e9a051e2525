# Sourced by scripts/test and scripts/fuzz: the one way a sanitizer tree is
# configured. clang with AddressSanitizer and UndefinedBehaviorSanitizer, the
# fuzzers' coverage in every object and the fuzz targets built beside the
# tests, so that one build serves the whole suite and the fuzzing run.
configure_sanitizer_tree() {
  local build=$1
  # A tree configured with another compiler is configured anew: CMake cannot
  # change a tree's compiler in place.
  if [[ -f "$build/CMakeCache.txt" ]] && ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++' "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
  fi
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DSANITIZE=ON -DFUZZ=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
}
