# Writes OUTPUT: a C++ source that holds every file of FILES as text (a PDF
# as its bytes), for shippedReportFiles() (report_files.h).
# FILES: the paths separated by "|".
string(REPLACE "|" ";" FILES "${FILES}")
set(body "")
set(arrays "")
set(index 0)
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  if(name MATCHES "\\.pdf$")
    # A binary file: its bytes as an array.
    file(READ "${file}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
    string(APPEND arrays "const char kBinary${index}[] = {${bytes}};\n")
    string(APPEND body "    {\"${name}\", std::string_view(kBinary${index}, sizeof kBinary${index})},\n")
    math(EXPR index "${index} + 1")
  else()
    file(READ "${file}" text)
    string(APPEND body "    {\"${name}\", R\"rpt(${text})rpt\"},\n")
  endif()
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from petty/reports/files at build time.\n"
"#include \"petty/reports/files/report_files.h\"\n\n"
"namespace petty {\n\n"
"${arrays}\n"
"const std::vector<ShippedReportFile>& shippedReportFiles() {\n"
"    static const std::vector<ShippedReportFile> files = {\n${body}    };\n"
"    return files;\n}\n\n}  // namespace petty\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
