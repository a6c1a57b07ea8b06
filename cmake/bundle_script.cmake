# The page's script goes into the program as one string, made at configure time from
# its modules: each module's text in the order given (a module after those it
# imports), its import lines left out and its exports made plain, all in one function
# so that the page stays one file with nothing global. An import must be one line,
# "import { NAMES } from './MODULE.js';", naming its module's own names.
#
# pinglog_bundle_script(TEMPLATE OUTPUT MODULE...): OUTPUT is TEMPLATE with @PAGE_SCRIPT@
# the bundle; the MODULEs are paths relative to this directory.
function(pinglog_bundle_script template output)
  set(bundle "(function () {\n  'use strict';\n")
  set(depends ${template})
  foreach(module IN LISTS ARGN)
    file(READ ${CMAKE_CURRENT_SOURCE_DIR}/${module} text)
    set(text "\n${text}")
    # (A ';' would split CMake's list: it is checked as a word.)
    string(REPLACE ";" " SEMICOLON" checked "${text}")
    string(REGEX MATCHALL "\nimport [^\n]*" imports "${checked}")
    foreach(line IN LISTS imports)
      if(NOT line MATCHES "^\nimport { [A-Za-z_, ]+ } from '\\./[a-z_]+\\.js' SEMICOLON$")
        message(FATAL_ERROR "${module}: an import the bundle cannot take:${line}")
      endif()
    endforeach()
    string(REGEX REPLACE "\nimport [^\n]*" "" text "${text}")
    string(REPLACE "\nexport " "\n" text "${text}")
    string(APPEND bundle "// ${module}${text}")
    list(APPEND depends ${CMAKE_CURRENT_SOURCE_DIR}/${module})
  endforeach()
  string(APPEND bundle "})();\n")
  set(PAGE_SCRIPT "${bundle}")
  configure_file(${template} ${output} @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${depends})
endfunction()
