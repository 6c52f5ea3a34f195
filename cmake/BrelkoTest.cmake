# brelko_add_test(NAME SOURCES ... LIBS ... [XVFB] [LABELS ...] [TIMEOUT s])
# One QtTest executable per class under test. Tests run on Qt's offscreen
# platform; XVFB ones get a private X server of their own through xvfb-run.
function(brelko_add_test name)
  cmake_parse_arguments(T "XVFB" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  # Where a test's reference pictures are kept (RenderCheck.h).
  target_compile_definitions(${name} PRIVATE
                             REFERENCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/reference")
  if(T_XVFB)
    add_test(NAME ${name}
             COMMAND xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" $<TARGET_FILE:${name}>)
    set(platform xcb)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set(platform offscreen)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=${platform};LC_ALL=C.UTF-8;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
    LABELS "${T_LABELS}"
    TIMEOUT ${T_TIMEOUT})
endfunction()
