# kvx_plain_library(<target> [DEPENDS <targets>...])
#   A static library of the plain C++ sources (*.cpp) directly in the current
#   folder. Qt code of a subsystem lives in its ui/ subfolder instead.
function(kvx_plain_library target)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    # A folder without code yet: an interface target keeps dependants linking.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  if(ARG_DEPENDS)
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  endif()
endfunction()

# kvx_ui_library(<target> [DEPENDS <targets>...])
#   A static library of the Qt Widgets sources in the current folder.
function(kvx_ui_library target)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${target} STATIC ${sources})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC Qt6::Widgets ${ARG_DEPENDS})
endfunction()

# kvx_test_folder(<name> [DEPENDS <targets>...] [QT] [DATA]
#                  [LOCALES [LOCALE_FILTER <gtest filter>]])
#   One GoogleTest executable from the *.cpp files of the current test folder,
#   registered with CTest test by test, and once more as a whole
#   (<name>.AllTestsShuffledInOneProcess: every test in one process, in a new
#   random order each run, the seed printed), so that a test depending on
#   what another left behind fails. QT links the main that creates the
#   QApplication on the offscreen platform (and runs the meta-object
#   compiler); DATA passes the source tree's data/ folder as KVX_DATA_DIR.
#   LOCALES runs the shuffled run under a Turkish desktop instead, and the
#   program (or the tests LOCALE_FILTER names) once more in one process
#   under a German, a French and a Swiss desktop (kvx_locale_runs,
#   tests/CMakeLists.txt).
function(kvx_test_folder name)
  cmake_parse_arguments(ARG "QT;DATA;LOCALES" "LOCALE_FILTER" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${name})
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock kvx_testsupport)
  if(ARG_QT)
    target_link_libraries(${target} PRIVATE kvx_qt_test_main)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  else()
    target_link_libraries(${target} PRIVATE kvx_test_main)
  endif()
  if(KVX_SANITIZE)
    # The test programs' own code is assertions and fixtures: unoptimised, it
    # compiles in a fifth of the time under the sanitizers, while the code
    # under test keeps its optimisation.
    target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo>:-O0>)
  endif()
  target_compile_definitions(${target} PRIVATE
    KVX_FIXTURE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
    KVX_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(ARG_DATA)
    target_compile_definitions(${target} PRIVATE KVX_DATA_DIR="${KVX_DATA_DIR}")
  endif()
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:kvx_sanitizer_defaults>
                                   $<TARGET_OBJECTS:kvx_global_state_guard>)
  target_link_libraries(${target} PRIVATE kvx_core)
  # Widget tests pick the offscreen platform in their main.
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  # The longest runs: a high cost starts them first among the others.
  if(ARG_LOCALES)
    kvx_locale_runs(${name} ${target} "${ARG_LOCALE_FILTER}")
  else()
    add_test(NAME ${name}.AllTestsShuffledInOneProcess COMMAND ${target} --gtest_shuffle)
    set_tests_properties(${name}.AllTestsShuffledInOneProcess PROPERTIES COST 100000 TIMEOUT 3600)
  endif()
endfunction()

# kvx_locale_runs(<name> <target> <gtest filter or "">)
#   <name>.AllTestsShuffledUnderTurkishLocale: every test, shuffled in one
#   process as <name>.AllTestsShuffledInOneProcess would run them, under
#   LANG=tr_TR.UTF-8 (decimal comma, points grouping thousands, dates with
#   '-', and case rules in which 'i' and 'I' are no pair). Then the tests
#   the filter names (all without one) under <name>.UnderGermanLocale
#   (LC_ALL=de_DE.UTF-8: decimal comma, points grouping thousands, dates
#   with points), <name>.UnderFrenchLocale (LANG=fr_FR.UTF-8: decimal comma,
#   a narrow no-break space grouping thousands, dates with '/') and
#   <name>.UnderSwissLocale (LANG=de_CH.UTF-8: decimal point, dates with
#   points, an apostrophe grouping thousands). Each takes the desktop's
#   separators as the program takes them (KVX_TEST_DESKTOP_SEPARATORS). The
#   locales are made by localedef into the build folder (kvx_test_locales).
function(kvx_locale_runs name target filter)
  set(arguments)
  if(filter)
    set(arguments --gtest_filter=${filter})
  endif()
  set(common LOCPATH=set:${KVX_TEST_LOCALE_DIR} KVX_TEST_DESKTOP_SEPARATORS=set:1 LANGUAGE=unset:
             LC_NUMERIC=unset: LC_TIME=unset: LC_CTYPE=unset: LC_COLLATE=unset: LC_MESSAGES=unset:)
  add_test(NAME ${name}.AllTestsShuffledUnderTurkishLocale COMMAND ${target} --gtest_shuffle)
  set_tests_properties(${name}.AllTestsShuffledUnderTurkishLocale PROPERTIES COST 100000 TIMEOUT 3600
    ENVIRONMENT_MODIFICATION "${common};LC_ALL=unset:;LANG=set:tr_TR.UTF-8")
  foreach(run "German;LC_ALL=set:de_DE.UTF-8" "French;LANG=set:fr_FR.UTF-8" "Swiss;LANG=set:de_CH.UTF-8")
    list(GET run 0 desktop)
    list(GET run 1 setting)
    add_test(NAME ${name}.Under${desktop}Locale COMMAND ${target} ${arguments})
    set_tests_properties(${name}.Under${desktop}Locale PROPERTIES COST 90000 TIMEOUT 3600
      ENVIRONMENT_MODIFICATION "${common};LC_ALL=unset:;LANG=unset:;${setting}")
  endforeach()
endfunction()
