# The clerk's guide carried inside the program: every page of docs/ghid and every picture of
# docs/screens that a page links to, under the resource paths ":/ghid/..." and
# ":/screens/...". A picture that a page names but that does not exist is left out, so the
# guide test reports the broken link instead of the build failing.
set(guide_docs ${PROJECT_SOURCE_DIR}/docs)
file(GLOB guide_pages CONFIGURE_DEPENDS ${guide_docs}/ghid/*.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${guide_pages})
set(guide_files ${guide_pages})
foreach(page IN LISTS guide_pages)
  file(READ ${page} page_text)
  string(REGEX MATCHALL "\\.\\./screens/[A-Za-z0-9_.-]+\\.png" page_pictures "${page_text}")
  foreach(picture IN LISTS page_pictures)
    string(REPLACE "../" "" picture ${picture})
    if(EXISTS ${guide_docs}/${picture})
      list(APPEND guide_files ${guide_docs}/${picture})
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES guide_files)
qt_add_resources(focaris_gui_shell guide PREFIX "/" BASE ${guide_docs} FILES ${guide_files})
