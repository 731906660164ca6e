#include "operating/bank_display.h"

namespace vantrel::operating {

BankDisplay MakeBankDisplay(const settings::Settings& settings, Bank bank) {
  if (bank == Bank::A) return {settings.FnMsgA, true};
  return {settings.FnMsgB, false};
}

}  // namespace vantrel::operating
