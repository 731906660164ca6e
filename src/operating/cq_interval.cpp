#include "operating/cq_interval.h"

namespace vantrel::operating {

unsigned CqTimerMilliseconds(float cqLoopInterval) {
  const float milliseconds = cqLoopInterval * 1000.0f;
  return milliseconds > 0.0f ? static_cast<unsigned>(milliseconds) : 0u;
}

}  // namespace vantrel::operating
