// Library binding as start-up does it.
#include <gtest/gtest.h>
#include "base/Bindings_win.h"

TEST(Bindings, EveryRoutineIsBound) {
  EXPECT_NE(Api.CreateWindowExA, nullptr);
  EXPECT_NE(Api.GetSaveFileNameA, nullptr);
  EXPECT_NE(Api.DragQueryFileA, nullptr);
  EXPECT_NE(Api.zor_trend, nullptr);
  EXPECT_NE(Api.GdipDeleteGraphics, nullptr);
}
