// Finding a window's controls by their object names (window and editor tests).
#pragma once

#include <gtest/gtest.h>

#include <QWidget>

namespace tavro2::test {

// The named child widget; a missing one fails the test.
template <class T = QWidget>
T* child(QWidget& parent, const char* name) {
  T* found = parent.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name;
  return found;
}

}  // namespace tavro2::test
