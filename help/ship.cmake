# corvane_ship_beside(<target> [files...])
# Puts the files that belong in a program's folder next to the program's executable:
# the default pages and the home page (always) and the files named (the program's own
# help file, relative to the calling folder or absolute). They are copied into the
# build's bin folder whenever they change. Installing puts the program into bin/ and the
# files into share/corvane/, where the installed program looks for them.
# Include this file from a program's CMakeLists.txt before calling it.
include_guard(GLOBAL)
include(GNUInstallDirs)

set(CORVANE_DEFAULT_PAGES
  ${CMAKE_CURRENT_LIST_DIR}/nohelp.htm
  ${CMAKE_CURRENT_LIST_DIR}/nodesc.htm
  ${CMAKE_CURRENT_LIST_DIR}/corvane-home.htm
  CACHE INTERNAL "Pages shipped beside every program")

function(corvane_ship_beside target)
  if(CMAKE_RUNTIME_OUTPUT_DIRECTORY)
    set(out_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  else()
    set(out_dir ${CMAKE_BINARY_DIR}/bin)
  endif()

  # The default pages are shared by every program: one rule copies them once.
  if(NOT TARGET corvane_default_pages)
    set(outputs)
    foreach(page IN LISTS CORVANE_DEFAULT_PAGES)
      get_filename_component(name ${page} NAME)
      add_custom_command(OUTPUT ${out_dir}/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page} ${out_dir}/${name}
        DEPENDS ${page} VERBATIM)
      list(APPEND outputs ${out_dir}/${name})
    endforeach()
    add_custom_target(corvane_default_pages ALL DEPENDS ${outputs})
    install(FILES ${CORVANE_DEFAULT_PAGES} DESTINATION ${CORVANE_INSTALL_FILESDIR})
  endif()
  add_dependencies(${target} corvane_default_pages)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  set(outputs)
  foreach(file IN LISTS ARGN)
    get_filename_component(source ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${out_dir}/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${out_dir}/${name}
      DEPENDS ${source} VERBATIM)
    list(APPEND outputs ${out_dir}/${name})
    install(FILES ${source} DESTINATION ${CORVANE_INSTALL_FILESDIR})
  endforeach()
  if(outputs)
    add_custom_target(${target}_beside ALL DEPENDS ${outputs})
    add_dependencies(${target} ${target}_beside)
  endif()
endfunction()
