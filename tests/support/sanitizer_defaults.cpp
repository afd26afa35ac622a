// Sanitizer settings of every test program, compiled in so that they hold
// however the test is started (ctest, a debugger, by hand). The leak
// suppressions stay in their commented file, tests/sanitizer-suppressions.txt.
// Its path is quoted: the sanitizers split their options at blanks, commas
// and colons, which a checkout's path may hold.
extern "C" {

const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=0"; }

const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

const char* __lsan_default_options() { return "suppressions=\"" KVX_SANITIZER_SUPPRESSIONS "\":print_suppressions=0"; }

}  // extern "C"
