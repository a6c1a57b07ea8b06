# Installation and packages.
#   Linux:   cmake --install BUILD [--prefix DIR]; cpack -G DEB in a Release build
#   Windows: cpack -G ZIP in the cross build
set(CPACK_PACKAGE_NAME pinglog)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "pinglog developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "unattended network-latency logger")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS pinglog pinglog-check RUNTIME DESTINATION .)
  if(TARGET pinglog-report)
    install(TARGETS pinglog-report RUNTIME DESTINATION .)
  endif()
  # Files a Windows user opens in Notepad: plain text with CR LF line ends.
  foreach(pair "README.md;README.txt" "packaging/Kep.ini.example;Kep.ini")
    list(GET pair 0 source)
    list(GET pair 1 target)
    file(READ ${CMAKE_SOURCE_DIR}/${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${CMAKE_BINARY_DIR}/zip/${target} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${source})
  endforeach()
  install(FILES ${CMAKE_BINARY_DIR}/zip/README.txt ${CMAKE_BINARY_DIR}/zip/Kep.ini LICENSE
          DESTINATION .)
  # The zip target builds what it packs, then packs it.
  add_custom_target(zip COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP
                    WORKING_DIRECTORY ${CMAKE_BINARY_DIR} COMMENT "Packing the Windows zip")
  add_dependencies(zip pinglog pinglog-check)
  if(TARGET pinglog-report)
    add_dependencies(zip pinglog-report)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME pinglog-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  include(CPack)
  return()
endif()

include(GNUInstallDirs)
set(PINGLOG_SYSTEMD_UNIT_DIR lib/systemd/system CACHE STRING
    "Where the service unit goes (relative to the prefix, or absolute)")
set(PINGLOG_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/pinglog)

install(TARGETS pinglog pinglog-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET pinglog-report)
  install(TARGETS pinglog-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Manual pages and the changelog, compressed as Debian wants them (man reads them so).
set(PINGLOG_COMPRESSED)
foreach(source packaging/man/pinglog.1 packaging/man/pinglog-check.1 packaging/man/pinglog-report.1
               packaging/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/compressed/${name}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/compressed
                     COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/${source} > ${CMAKE_BINARY_DIR}/compressed/${name}.gz
                     DEPENDS ${CMAKE_SOURCE_DIR}/${source})
  list(APPEND PINGLOG_COMPRESSED ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
endforeach()
add_custom_target(pinglog_compressed_docs ALL DEPENDS ${PINGLOG_COMPRESSED})
# Installing after a build of some targets only (./demo.sh) makes them first.
install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" --build \"${CMAKE_BINARY_DIR}\"
                              --target pinglog_compressed_docs)")
install(FILES ${CMAKE_BINARY_DIR}/compressed/pinglog.1.gz ${CMAKE_BINARY_DIR}/compressed/pinglog-check.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET pinglog-report)
  install(FILES ${CMAKE_BINARY_DIR}/compressed/pinglog-report.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES README.md packaging/copyright ${CMAKE_BINARY_DIR}/compressed/changelog.gz
        DESTINATION ${PINGLOG_DOC_DIR})
install(FILES packaging/Kep.ini.example DESTINATION ${PINGLOG_DOC_DIR}/examples RENAME Kep.ini)
install(FILES packaging/prometheus/pinglog-alerts.yml DESTINATION ${PINGLOG_DOC_DIR}/examples)
install(FILES packaging/pinglog@.service packaging/pinglog-metrics.service
        DESTINATION ${PINGLOG_SYSTEMD_UNIT_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# No address has been published for the maintainers yet: give one when building a
# package for distribution.
set(PINGLOG_MAINTAINER "pinglog developers <pinglog@localhost>" CACHE STRING
    "The package's maintainer, as a name and a mail address")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PINGLOG_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libcap2-bin)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "prometheus-node-exporter, prometheus")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION
    "pinglog sends three ICMP echo requests to one host per cycle, until a\n"
    "configured end time, and appends one tab-separated line per cycle to a log:\n"
    "the replies, failures with their error numbers, packet statistics and\n"
    "round-trip times. pinglog-report summarizes such logs: loss, outages, gaps\n"
    "and round-trip percentiles, with CSV, JSON and HTML exports, and gives\n"
    "Prometheus the same numbers: OpenMetrics for backfill, and a follower that\n"
    "keeps a textfile for node_exporter. A systemd template unit runs one logger\n"
    "per instance, checked first by pinglog-check.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
include(CPack)
