// Test executables that use widgets link the main of qt_test_main.cpp, which
// creates the one QApplication (offscreen platform) before the tests run and
// destroys it after them.
#pragma once

#include <QApplication>

namespace kvx::test {

inline QApplication& TestApplication() { return *static_cast<QApplication*>(QApplication::instance()); }

}  // namespace kvx::test
