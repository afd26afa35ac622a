// The .xlsx reader's library (ixion, used by orcus) keeps two small
// allocations for the life of the process. The sanitizer is told here,
// inside this test program, since the suppression file of the tests is not
// handed to every test run.
extern "C" const char* __lsan_default_suppressions() { return "leak:libixion\n"; }
