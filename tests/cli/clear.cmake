# quorvale-cli clear: exit statuses, questions without a terminal, and what is left.
add_test(NAME cli_clear
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/clear_cli_test.sh ${QUORVALE_RUN_quorvale-cli})
set_tests_properties(cli_clear PROPERTIES TIMEOUT 60 LABELS cli
  ENVIRONMENT "${QUORVALE_CLI_TEST_ENVIRONMENT}")
