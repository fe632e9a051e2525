# The layers of the project and which folder may include which: the one table
# that both the build (include roots) and the include check read.
#
# Arrows point down only. Every file includes by path from the repository root
# ("platform/vb/currency.h"), so a file's layer is visible at every include.

# Areas: the top-level folders each area's files may include. The build gives
# every target of an area an include root that holds only these folders, so an
# include of anything else does not compile. imaging sees plugins/ for the
# headers of the libraries it loads by name at run time (it never links them).
set(LAYER_AREAS platform plugins imaging petty bench)
set(LAYER_AREA_platform platform)
set(LAYER_AREA_plugins platform plugins)
set(LAYER_AREA_imaging platform plugins imaging)
set(LAYER_AREA_petty platform petty)
set(LAYER_AREA_bench platform plugins imaging petty bench)

# Units inside an area and the units each one builds on directly (what they
# build on in turn is allowed too). A unit is a folder; a file belongs to the
# longest unit its path starts with, so "platform/gdiplus/codecs" is a unit of
# its own below "platform/gdiplus". Only areas listed in LAYER_CHECKED_AREAS
# are checked unit by unit; there every folder needs a line here.
set(LAYER_CHECKED_AREAS platform petty)

set(LAYER_UNIT_platform/vb "")
set(LAYER_UNIT_platform/win "")
# The one atomic file writer and the book-folder lock: the lowest unit, used
# by every writer of files.
set(LAYER_UNIT_platform/files "")
set(LAYER_UNIT_platform/jet platform/vb platform/files)
set(LAYER_UNIT_platform/com platform/win platform/vb platform/files)
set(LAYER_UNIT_platform/forms platform/jet platform/com)
set(LAYER_UNIT_platform/forms_qt platform/forms)
set(LAYER_UNIT_platform/report platform/jet platform/win platform/files)
set(LAYER_UNIT_platform/gdiplus platform/win platform/files)
set(LAYER_UNIT_platform/gdiplus/codecs platform/gdiplus)
set(LAYER_UNIT_platform/gdiplus/graphics platform/gdiplus)
set(LAYER_UNIT_platform/inet platform/win platform/files)
# Printing draws nothing itself: its pages are device contexts of platform/win;
# the Qt print system (platform_print_qt, for hosts) writes PDFs with the file writer.
set(LAYER_UNIT_platform/print platform/win platform/files)

# The report definition files a new book receives sit with the reports but
# are the lowest part of Ostrelle: the shell copies them into a new book.
set(LAYER_UNIT_petty/reports/files "")
# The quick-help guide, made into a PDF at build time by the report engine.
set(LAYER_UNIT_petty/help "")
set(LAYER_UNIT_petty/shell petty/reports/files)
set(LAYER_UNIT_petty/reports petty/shell)
set(LAYER_UNIT_petty/register petty/reports petty/scanning)
set(LAYER_UNIT_petty/scanning petty/shell)
set(LAYER_UNIT_petty/app petty/register petty/scanning)

# Makes <build>/include-<area>/ hold a link to each folder the area may see and
# adds it as the include directory of the calling folder, so that every target
# defined there or below (now or later) compiles against it.
function(project_layer_include_root area)
  set(root ${PROJECT_BINARY_DIR}/include-${area})
  file(MAKE_DIRECTORY ${root})
  foreach(seen IN LISTS LAYER_AREA_${area})
    # Made anew at every configure: a build folder may have moved with its sources.
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${seen} ${root}/${seen} SYMBOLIC)
  endforeach()
  include_directories(BEFORE ${root})
endfunction()
