// The translation unit the test programs' precompiled header is built with;
// the header itself is listed in this folder's CMakeLists.txt.
