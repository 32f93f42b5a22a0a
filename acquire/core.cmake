# Drosk's save of its records, with the checks around it: plain C++, no Qt.
add_library(corvane_acquire_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/CRecordSaver.cpp
)
target_include_directories(corvane_acquire_core PUBLIC ${CORVANE_ROOT})
target_link_libraries(corvane_acquire_core PUBLIC corvane_kb)
