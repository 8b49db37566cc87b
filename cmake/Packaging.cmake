# What a user copies into the host's folder: everything under Plugins/Tavrel,
# installed by the folders that make it (host/: the module; resources/: the
# bitmaps and the texts; tools/xmlprofile/). `cmake --install` lays it out.
# On Windows the build itself zips it, the same bytes every time, beside the
# installer (installer/); natively `cpack` zips it.
if(WIN32)
  return()
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tavrel)
set(CPACK_PACKAGE_VENDOR ${TAVREL_PUBLISHER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "Tavrel-${PROJECT_VERSION}-${TAVREL_ARCH}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
