# What a user copies into the host's folder: the module and its bitmaps
# under Plugins/Tavrel, and a plain-text read-me. `cmake --install` lays it
# out; `cpack` (win32 build) zips it.
# The module and the bitmaps install from their own folders (host/,
# resources/).
install(FILES ${PROJECT_SOURCE_DIR}/resources/ReadMe.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tavrel)
set(CPACK_PACKAGE_VENDOR Tavrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "Tavrel-${PROJECT_VERSION}-${TAVREL_PLATFORM}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
