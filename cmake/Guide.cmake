# The clerk's guide as HTML pages, made from docs/ghid by pandoc when the build machine has
# it (packages.d/guide.txt installs it): one page for each Markdown page, the pictures the
# pages show copied into "screens/", and a small stylesheet. The package carries them in
# /usr/share/doc/focaris/ghid, where the program's guide window opens them; without pandoc
# the window shows the Markdown pages built into the program.
include(GNUInstallDirs)
find_program(FOCARIS_PANDOC pandoc)
set(FOCARIS_GUIDE_HTML ${PROJECT_BINARY_DIR}/ghid)
if(FOCARIS_PANDOC)
  set(guide_src ${PROJECT_SOURCE_DIR}/docs)
  set(guide_share ${PROJECT_SOURCE_DIR}/share/ghid)
  file(GLOB guide_md CONFIGURE_DEPENDS ${guide_src}/ghid/*.md)
  set(guide_outputs)
  set(guide_pictures)
  foreach(page IN LISTS guide_md)
    get_filename_component(stem ${page} NAME_WE)
    if(stem STREQUAL "README")
      set(stem index)
    endif()
    set(out ${FOCARIS_GUIDE_HTML}/${stem}.html)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${FOCARIS_GUIDE_HTML}
      COMMAND ${FOCARIS_PANDOC} --from=gfm --to=html5 --standalone --metadata lang=ro
              --lua-filter=${guide_share}/pages.lua --css=ghid.css -o ${out} ${page}
      DEPENDS ${page} ${guide_share}/pages.lua VERBATIM)
    list(APPEND guide_outputs ${out})
    file(READ ${page} page_text)
    string(REGEX MATCHALL "\\.\\./screens/[A-Za-z0-9_.-]+\\.png" shown "${page_text}")
    foreach(picture IN LISTS shown)
      string(REPLACE "../screens/" "" picture ${picture})
      if(EXISTS ${guide_src}/screens/${picture})
        list(APPEND guide_pictures ${picture})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES guide_pictures)
  foreach(picture IN LISTS guide_pictures)
    set(out ${FOCARIS_GUIDE_HTML}/screens/${picture})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E copy ${guide_src}/screens/${picture} ${out}
      DEPENDS ${guide_src}/screens/${picture} VERBATIM)
    list(APPEND guide_outputs ${out})
  endforeach()
  add_custom_command(OUTPUT ${FOCARIS_GUIDE_HTML}/ghid.css
    COMMAND ${CMAKE_COMMAND} -E copy ${guide_share}/ghid.css ${FOCARIS_GUIDE_HTML}/ghid.css
    DEPENDS ${guide_share}/ghid.css VERBATIM)
  list(APPEND guide_outputs ${FOCARIS_GUIDE_HTML}/ghid.css)
  add_custom_target(guide_html ALL DEPENDS ${guide_outputs})
  install(DIRECTORY ${FOCARIS_GUIDE_HTML}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/focaris/ghid)
else()
  message(STATUS "pandoc not found: the package will not carry the HTML guide")
endif()
