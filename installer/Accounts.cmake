# SHA256SUMS and the SPDX SBOM Tavrel-<version>-<arch>.spdx.json beside the
# downloads, made by make-accounts.py from the staged package, the downloads
# and the link maps of the shipped binaries.
#
# The hook for every download: tavrel_add_download(TARGET FILE) names a file a
# user downloads (a setup program, the ZIP, an MSI package) and the target
# that makes it. Wherever it is called in the project, SHA256SUMS and the SBOM
# cover the file: they are made once all the project is read (a deferred
# call of the top folder).

# Included by the top folder before any other, so every folder can call
# tavrel_add_download(). The staged package is installer/'s.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set_property(GLOBAL PROPERTY TAVREL_ACCOUNTS
  ${CMAKE_BINARY_DIR}/SHA256SUMS ${CMAKE_BINARY_DIR}/Tavrel-${PROJECT_VERSION}-${TAVREL_ARCH}.spdx.json
  ${CMAKE_BINARY_DIR}/installer/stage ${CMAKE_BINARY_DIR}/installer/staged.stamp ${Python3_EXECUTABLE})

function(tavrel_add_download target file)
  set_property(GLOBAL APPEND PROPERTY TAVREL_DOWNLOADS ${file})
  set_property(GLOBAL APPEND PROPERTY TAVREL_DOWNLOAD_TARGETS ${target})
endfunction()

function(tavrel_write_accounts)
  get_property(downloads GLOBAL PROPERTY TAVREL_DOWNLOADS)
  get_property(targets GLOBAL PROPERTY TAVREL_DOWNLOAD_TARGETS)
  get_property(accounts GLOBAL PROPERTY TAVREL_ACCOUNTS)
  list(GET accounts 0 sums)
  list(GET accounts 1 sbom)
  list(GET accounts 2 stage)
  list(GET accounts 3 staged)
  list(GET accounts 4 python)
  get_property(languages GLOBAL PROPERTY TAVREL_LANGUAGES_FILE)
  # The shipped binaries, each as <name in the package>=<its link map>.
  set(maps)
  foreach(map "$<TARGET_FILE_NAME:tavrel_module>=$<TARGET_FILE:tavrel_module>.map"
      "$<TARGET_FILE_NAME:xmlprofile>=$<TARGET_FILE:xmlprofile>.map")
    list(APPEND maps --binary ${map})
  endforeach()
  set(tool ${PROJECT_SOURCE_DIR}/installer/make-accounts.py)
  add_custom_command(OUTPUT ${sums} ${sbom}
    COMMAND ${TAVREL_WITH_EPOCH} ${python} ${tool}
      --name Tavrel --version ${PROJECT_VERSION} --arch ${TAVREL_ARCH} --supplier ${TAVREL_PUBLISHER}
      --stage ${stage} ${maps} --languages ${languages} --sums ${sums} --sbom ${sbom} ${downloads}
    DEPENDS ${tool} ${PROJECT_SOURCE_DIR}/resources/toolchain_components.py ${PROJECT_SOURCE_DIR}/LICENSE ${languages}
      ${staged} ${downloads}
    COMMENT "Writing SHA256SUMS and the SBOM"
    VERBATIM)
  add_custom_target(tavrel_accounts ALL DEPENDS ${sums} ${sbom})
  add_dependencies(tavrel_accounts ${targets})
  # Checked against the files and the link maps, here where every download is known.
  set(check_args --epoch ${TAVREL_SOURCE_DATE_EPOCH} --version ${PROJECT_VERSION} --arch ${TAVREL_ARCH}
    --build ${CMAKE_BINARY_DIR} --stage ${stage} --sums ${sums} --sbom ${sbom} ${maps} ${downloads})
  set(tests ${PROJECT_SOURCE_DIR}/tests/installer)
  add_test(NAME release_accounts COMMAND ${python} ${tests}/check_accounts.py ${check_args})
  # The check fails on accounts that are wrong.
  add_test(NAME release_accounts_catch
    COMMAND ${python} ${tests}/check_accounts_catches.py ${CMAKE_BINARY_DIR}/tests/installer/accounts ${check_args})
  set_tests_properties(release_accounts release_accounts_catch PROPERTIES LABELS release)
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL tavrel_write_accounts)
