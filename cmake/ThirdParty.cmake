# GoogleTest from Debian's source package, built by every build so the same
# tests compile natively and for Windows.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Header-only libraries from Debian serve both builds. The cross compiler must
# not see /usr/include as a whole, so each is exposed through its own folder.
set(TAVREL_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${TAVREL_THIRD_PARTY_INCLUDE})
foreach(dir nlohmann svgpp exboost boost)
  if(NOT EXISTS ${TAVREL_THIRD_PARTY_INCLUDE}/${dir})
    file(CREATE_LINK /usr/include/${dir} ${TAVREL_THIRD_PARTY_INCLUDE}/${dir} SYMBOLIC)
  endif()
endforeach()
add_library(tavrel_json INTERFACE)
target_include_directories(tavrel_json SYSTEM INTERFACE ${TAVREL_THIRD_PARTY_INCLUDE})
if(NOT EXISTS ${TAVREL_THIRD_PARTY_INCLUDE}/utf8)
  file(CREATE_LINK /usr/include/utf8cpp/utf8 ${TAVREL_THIRD_PARTY_INCLUDE}/utf8 SYMBOLIC)
  file(CREATE_LINK /usr/include/utf8cpp/utf8.h ${TAVREL_THIRD_PARTY_INCLUDE}/utf8.h SYMBOLIC)
endif()
add_library(tavrel_utf8cpp INTERFACE)
target_include_directories(tavrel_utf8cpp SYSTEM INTERFACE ${TAVREL_THIRD_PARTY_INCLUDE})
# svgpp (with the Boost headers it is written on) parses the SVG grammars of
# the stand-in host.
add_library(tavrel_svgpp INTERFACE)
target_include_directories(tavrel_svgpp SYSTEM INTERFACE ${TAVREL_THIRD_PARTY_INCLUDE})
target_compile_definitions(tavrel_svgpp INTERFACE BOOST_MATH_DISABLE_DEPRECATED_03_WARNING)
