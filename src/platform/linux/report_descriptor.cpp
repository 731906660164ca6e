#include "platform/linux/report_descriptor.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vantrel::platform {
namespace {

enum class ItemType : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::uint8_t kTagInput = 0x8;
constexpr std::uint8_t kTagOutput = 0x9;
constexpr std::uint8_t kTagCollection = 0xA;
constexpr std::uint8_t kTagEndCollection = 0xC;
constexpr std::uint8_t kTagReportSize = 0x7;
constexpr std::uint8_t kTagReportId = 0x8;
constexpr std::uint8_t kTagReportCount = 0x9;
constexpr std::uint8_t kTagPush = 0xA;
constexpr std::uint8_t kTagPop = 0xB;
constexpr std::size_t kMaxPushDepth = 16;
constexpr std::uint64_t kMaxReportBits = (kMaxReportLength - 1) * 8;

struct Item {
  ItemType type;
  std::uint8_t tag;
  std::uint32_t data;
};

// Short items only: a long item or one that runs past the end is malformed.
std::optional<Item> NextItem(std::span<const std::uint8_t> bytes, std::size_t& pos) {
  const std::uint8_t prefix = bytes[pos++];
  if (prefix == kLongItemPrefix) return std::nullopt;
  static constexpr std::array<std::size_t, 4> kDataSizes = {0, 1, 2, 4};
  const std::size_t size = kDataSizes[prefix & 0x3];
  if (bytes.size() - pos < size) return std::nullopt;
  std::uint32_t data = 0;
  for (std::size_t i = 0; i < size; ++i) data |= std::uint32_t{bytes[pos + i]} << (8 * i);
  pos += size;
  return Item{static_cast<ItemType>((prefix >> 2) & 0x3), static_cast<std::uint8_t>(prefix >> 4),
              data};
}

struct GlobalState {
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint32_t reportId = 0;
};

class LengthCollector {
 public:
  bool Apply(const Item& item) {
    if (item.type == ItemType::kMain) return ApplyMain(item.tag);
    if (item.type == ItemType::kGlobal) return ApplyGlobal(item.tag, item.data);
    return true;
  }

  std::optional<ReportLengths> Result() const {
    if (collectionDepth_ != 0) return std::nullopt;
    return ReportLengths{ByteLength(inputBits_), ByteLength(outputBits_), numbered_};
  }

 private:
  using BitsPerId = std::array<std::uint64_t, 256>;

  bool ApplyMain(std::uint8_t tag) {
    switch (tag) {
      case kTagInput:
        return AddBits(inputBits_);
      case kTagOutput:
        return AddBits(outputBits_);
      case kTagCollection:
        ++collectionDepth_;
        return true;
      case kTagEndCollection:
        return collectionDepth_-- > 0;
      default:
        return true;
    }
  }

  bool ApplyGlobal(std::uint8_t tag, std::uint32_t data) {
    switch (tag) {
      case kTagReportSize:
        global_.reportSize = data;
        return true;
      case kTagReportCount:
        global_.reportCount = data;
        return true;
      case kTagReportId:
        numbered_ = true;
        global_.reportId = data;
        return data >= 1 && data <= 255;
      case kTagPush:
        stack_.push_back(global_);
        return stack_.size() <= kMaxPushDepth;
      case kTagPop:
        if (stack_.empty()) return false;
        global_ = stack_.back();
        stack_.pop_back();
        return true;
      default:
        return true;
    }
  }

  bool AddBits(BitsPerId& bits) {
    std::uint64_t& total = bits[global_.reportId];
    total += std::uint64_t{global_.reportSize} * global_.reportCount;
    return total <= kMaxReportBits;
  }

  static std::size_t ByteLength(const BitsPerId& bits) {
    const std::uint64_t largest = *std::max_element(bits.begin(), bits.end());
    return largest == 0 ? 0 : static_cast<std::size_t>((largest + 7) / 8 + 1);
  }

  GlobalState global_;
  std::vector<GlobalState> stack_;
  int collectionDepth_ = 0;
  bool numbered_ = false;
  BitsPerId inputBits_{};
  BitsPerId outputBits_{};
};

}  // namespace

std::optional<ReportLengths> ParseReportLengths(std::span<const std::uint8_t> descriptor) {
  if (descriptor.empty() || descriptor.size() > kMaxReportDescriptorSize) return std::nullopt;
  LengthCollector collector;
  for (std::size_t pos = 0; pos < descriptor.size();) {
    const auto item = NextItem(descriptor, pos);
    if (!item || !collector.Apply(*item)) return std::nullopt;
  }
  return collector.Result();
}

}  // namespace vantrel::platform
