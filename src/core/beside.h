// Work started on a thread of its own beside the caller's, or left to be
// done when its answer is asked for where no thread can be started: the
// answer is the same either way, only the time differs.
#pragma once

#include <future>
#include <system_error>
#include <type_traits>

namespace makenc {

template <typename F>
std::future<std::invoke_result_t<F&>> start_beside(F work) {
  try {
    return std::async(std::launch::async, work);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, work);
  }
}

}  // namespace makenc
