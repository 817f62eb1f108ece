# Compiler settings for the project's own targets (not for third-party code).
function(norvel_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
  else()
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror>)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                 _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

function(norvel_sanitize target)
  if(NORVEL_SANITIZE AND NOT WIN32)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A GoogleTest program. Under Wine each test case runs as its own process, so a crash or
# hang in one case is reported against that case.
function(norvel_gtest target)
  cmake_parse_arguments(ARG "" "FILTER" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_FILTER)
    set(ARG_FILTER "*")
  endif()
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest)
  norvel_warnings(${target})
  norvel_sanitize(${target})
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       TEST_FILTER "${ARG_FILTER}" PROPERTIES TIMEOUT 120)
endfunction()

# A Windows program of the project whose entry point is wmain or wWinMain (UTF-16 arguments).
function(norvel_windows_program target)
  norvel_warnings(${target})
  if(NOT MSVC)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()
