# The question set writer, data-file modifier and question-array helpers: plain C++, no Qt.
add_library(corvane_editor_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ArrayManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CDataFileModifier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QuestionFileWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SavePlan.cpp
)
target_include_directories(corvane_editor_core PUBLIC ${CORVANE_ROOT})
target_link_libraries(corvane_editor_core PUBLIC corvane_kb)
