# The stand-in for the desktop interfaces over Qt, and the windows every program shares
# at that level (the help viewer, the page window). The scripted stand-in for tests lives here too: it is
# small and lets any test replace the whole layer with one object.
add_library(corvane_platform STATIC
  ${CMAKE_CURRENT_LIST_DIR}/BusyPointer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClickableLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DesignWidgets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntryValidator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormUtilities.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpViewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LocalFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NumberFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OptionGroupFocus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageLocation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageMarkup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageViewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Platform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtBackend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScriptedBackend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShownText.cpp
)
set_target_properties(corvane_platform PROPERTIES AUTOMOC ON)
target_include_directories(corvane_platform PUBLIC ${CORVANE_ROOT})
target_link_libraries(corvane_platform PUBLIC corvane_kb Qt6::Widgets)
target_compile_definitions(corvane_platform PRIVATE
  CORVANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  CORVANE_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  CORVANE_VERSION_PATCH=${PROJECT_VERSION_PATCH}
  CORVANE_INSTALLED_FILES="${CORVANE_INSTALLED_FILES}")
