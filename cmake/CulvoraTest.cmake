# culvora_add_test(NAME name SOURCES a.cpp ... LIBS lib ... [ENV VAR=value ...] [LABELS l ...])
# One place registers every test, so sanitizer and offscreen settings stay consistent.
find_package(GTest REQUIRED)

# Leak detection stays on in every test that runs our code with Qt. The suppressions name only
# leaks inside the system's libraries (fontconfig, GLib, D-Bus, ...), never our own code.
set(CULVORA_LSAN_ENV
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")

function(culvora_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE culvora_options ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set(env "CULVORA_SOURCE_DIR=${PROJECT_SOURCE_DIR}" ${T_ENV})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
