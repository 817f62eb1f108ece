# Reads the program's version from src/app/version.h, the one place where it is written, into
# NORVEL_VERSION ("major.minor.revision.build"). Included before project(), which takes it.
set(norvel_version_header ${CMAKE_CURRENT_LIST_DIR}/../src/app/version.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${norvel_version_header})
file(STRINGS ${norvel_version_header} norvel_version_lines REGEX "^#define NORVEL_VERSION_[A-Z]+ ")
set(NORVEL_VERSION "")
foreach(part MAJOR MINOR REVISION BUILD)
  set(number "")
  foreach(line IN LISTS norvel_version_lines)
    if(line MATCHES "^#define NORVEL_VERSION_${part} +([0-9]+) *$")
      set(number ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(number STREQUAL "")
    message(FATAL_ERROR "src/app/version.h defines no NORVEL_VERSION_${part}")
  endif()
  list(APPEND NORVEL_VERSION ${number})
endforeach()
list(JOIN NORVEL_VERSION "." NORVEL_VERSION)
# The text form in version.h (file version record) must say the same as the numbers.
foreach(line IN LISTS norvel_version_lines)
  if(line MATCHES "^#define NORVEL_VERSION_TEXT +\"([^\"]*)\"" AND
     NOT CMAKE_MATCH_1 STREQUAL NORVEL_VERSION)
    message(FATAL_ERROR "src/app/version.h: NORVEL_VERSION_TEXT \"${CMAKE_MATCH_1}\" "
                        "differs from the numbers ${NORVEL_VERSION}")
  endif()
endforeach()
