#pragma once

namespace vantrel::operating {

// The pause between CQ calls: `CqLoopInterval` seconds as whole milliseconds, truncated.
// The product is formed in float, as the setting is stored.
unsigned CqTimerMilliseconds(float cqLoopInterval);

}  // namespace vantrel::operating
