# panelcast_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [GUI])
# One executable per tested class; registered with CTest under its name.
# GUI tests run on the offscreen platform unless a display is present.
function(panelcast_add_test)
    cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt5::Test ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(env "PANELCAST_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
            "PANELCAST_EMU=$<TARGET_FILE_DIR:panelcast-emu>/panelcast-emu"
            "PANELCAST_CTL=$<TARGET_FILE_DIR:panelcast-ctl>/panelcast-ctl")
    if(NOT T_GUI)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 120)
endfunction()
