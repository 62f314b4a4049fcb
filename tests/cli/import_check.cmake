add_test(NAME cli_import_check COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/import_check_test.sh ${QUORVALE_RUN_quorvale-cli})
set_tests_properties(cli_import_check PROPERTIES TIMEOUT 120 LABELS cli
  ENVIRONMENT "${QUORVALE_CLI_TEST_ENVIRONMENT}")
