# The knowledge acquisition program's window and the Drosk executable. It shares the
# record list of the consultation program, linked alone, without the rest of Mirel.
add_library(corvane_acquire STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainAnswers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainRecords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordNameList.cpp
)
set_target_properties(corvane_acquire PROPERTIES AUTOMOC ON)
target_link_libraries(corvane_acquire PUBLIC
  corvane_record_list corvane_dialogs corvane_platform corvane_kb Qt6::Widgets)

add_executable(Drosk ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(Drosk PROPERTIES AUTOMOC ON)
target_link_libraries(Drosk PRIVATE corvane_acquire)

# Drosk.HLP, the default pages and the home page go beside the program.
include(${CORVANE_ROOT}/help/ship.cmake)
corvane_ship_beside(Drosk ${CORVANE_ROOT}/help/Drosk.HLP)
