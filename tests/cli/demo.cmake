# The demo needs the drawn pictures and the viewer, both built with the JDK, and runs
# the Linux program (a Windows build stages the viewers but draws no demo).
if(TARGET demo_pictures AND TARGET torvexa_viewer AND NOT QUORVALE_WINDOWS_UNDER_WINE)
  add_test(NAME cli_demo
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/demo_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(cli_demo PROPERTIES TIMEOUT 120 LABELS cli)
endif()
