#include "app/background_task.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

namespace velmora {
namespace {

TEST(StartBackgroundTaskTest, RunsTheTaskOnAnotherThreadWithoutBeingWaitedFor) {
  auto ran_on = std::make_shared<std::promise<std::thread::id>>();
  std::future<std::thread::id> done = ran_on->get_future();
  EXPECT_TRUE(StartBackgroundTask([ran_on] { ran_on->set_value(std::this_thread::get_id()); }));
  ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_NE(done.get(), std::this_thread::get_id());
}

TEST(StartBackgroundTaskTest, AThrowingTaskEndsQuietlyAndNoTaskIsRefused) {
  auto finished = std::make_shared<std::promise<void>>();
  std::future<void> done = finished->get_future();
  EXPECT_TRUE(StartBackgroundTask([] { throw std::runtime_error("lost connection"); }));
  EXPECT_TRUE(StartBackgroundTask([finished] { finished->set_value(); }));
  EXPECT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_FALSE(StartBackgroundTask({}));
}

}  // namespace
}  // namespace velmora
