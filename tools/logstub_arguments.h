#pragma once

#include <optional>
#include <string>
#include <vector>

#include "loglink/log_stub.h"

namespace vantrel::tools {

// The stand-in's command line; empty when it is wrong, with the reason in `error`.
std::optional<loglink::LogStubOptions> ParseLogStubArguments(const std::vector<std::string>& args,
                                                             std::string& error);

inline constexpr const char* kLogStubUsage =
    "usage: vantrel-logstub [--result N] [--reply TEXT] [--reply-timing during|after]\n"
    "  --result N          answer every record with N (default 1; 0 refuses)\n"
    "  --reply TEXT        reply to a callsign request with TEXT (default \"Q1ABC x y 579\")\n"
    "  --reply-timing T    reply while the request is in progress (during, default) or after\n"
    "                      answering it (after)\n";

}  // namespace vantrel::tools
