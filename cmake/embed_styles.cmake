# Style sheets go into the program as strings, made at configure time: each sheet's
# comments left out (a comment holds no '*' of its own and ends its line), a line that
# begins with spaces joined to the one before it, and every var(--NAME) replaced by
# the value the palette gives NAME, so that a drawing carries its colours itself, in
# a browser or not. A name the palette lacks stops the configuration.
#
# pinglog_embed_styles(PALETTE TEMPLATE OUTPUT NAME SHEET [NAME SHEET]...): OUTPUT is
# TEMPLATE with @STYLE_NAME@ the text of each SHEET (relative to this directory).
function(pinglog_embed_styles palette_file template output)
  file(READ ${palette_file} palette)
  string(REGEX MATCHALL "--[a-z0-9-]+: *[^;]+" entries "${palette}")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^--([a-z0-9-]+): *(.+)$" "\\1" name "${entry}")
    string(REGEX REPLACE "^--([a-z0-9-]+): *(.+)$" "\\2" value "${entry}")
    set(palette_${name} "${value}")
  endforeach()
  set(depends ${palette_file} ${template})
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs key sheet)
    file(READ ${CMAKE_CURRENT_SOURCE_DIR}/${sheet} text)
    string(REGEX REPLACE "/\\*[^*]*\\*/\n" "" text "${text}")
    string(REGEX REPLACE "\n +" "" text "${text}")
    string(REGEX MATCHALL "var\\(--[a-z0-9-]+\\)" uses "${text}")
    list(REMOVE_DUPLICATES uses)
    foreach(use IN LISTS uses)
      string(REGEX REPLACE "var\\(--([a-z0-9-]+)\\)" "\\1" name "${use}")
      if(NOT DEFINED palette_${name})
        message(FATAL_ERROR "${sheet}: ${use} is not in ${palette_file}")
      endif()
      string(REPLACE "${use}" "${palette_${name}}" text "${text}")
    endforeach()
    set(STYLE_${key} "${text}")
    list(APPEND depends ${CMAKE_CURRENT_SOURCE_DIR}/${sheet})
  endwhile()
  configure_file(${template} ${output} @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${depends})
endfunction()
