# The question editor's windows.
add_library(corvane_editor STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainShape.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RelianceForm.cpp
)
set_target_properties(corvane_editor PROPERTIES AUTOMOC ON)
target_link_libraries(corvane_editor PUBLIC
  corvane_editor_core corvane_dialogs corvane_platform corvane_kb Qt6::Widgets)

add_executable(Halvet ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(Halvet PROPERTIES AUTOMOC ON)
target_link_libraries(Halvet PRIVATE corvane_editor)

# Halvet.HLP, the default pages and the home page go beside the program.
include(${CORVANE_ROOT}/help/ship.cmake)
corvane_ship_beside(Halvet ${CORVANE_ROOT}/help/Halvet.HLP)
