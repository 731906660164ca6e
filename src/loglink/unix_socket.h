#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "loglink/unique_fd.h"

namespace vantrel::loglink {

using Deadline = std::chrono::steady_clock::time_point;

// A listening stream socket at `path`, readable and writable by its owner only. A socket file
// left behind by a program that has gone is replaced; one that still answers is not.
UniqueFd ListenAt(const std::string& path);

// A connected stream socket, or an empty one when nobody listens at `path`.
UniqueFd ConnectTo(const std::string& path);

// Milliseconds until `deadline` for poll(), never negative.
int RemainingMs(Deadline deadline);

bool SendAll(int fd, std::string_view bytes, Deadline deadline);

}  // namespace vantrel::loglink
