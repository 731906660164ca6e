#include "halvix_descriptor.h"

namespace vantrel::tools {

std::vector<std::uint8_t> HalvixReportDescriptor(const ReportShape& shape) {
  const auto count = static_cast<std::uint8_t>(shape.bytes);
  std::vector<std::uint8_t> bytes = {
      0x06, 0x00, 0xFF,  // usage page: vendor defined
      0x09, 0x01,        // usage
      0xA1, 0x01,        // collection: application
  };
  if (shape.reportId != 0) bytes.insert(bytes.end(), {0x85, shape.reportId});
  bytes.insert(bytes.end(), {
                                0x15, 0x00,         // logical minimum 0
                                0x26, 0xFF,  0x00,  // logical maximum 255
                                0x75, 0x08,         // report size: 8 bits
                                0x95, count,        // report count
                                0x09, 0x01,         // usage
                                0x81, 0x02,         // input: data, variable, absolute
                                0x95, count,        // report count
                                0x09, 0x01,         // usage
                                0x91, 0x02,         // output: data, variable, absolute
                                0xC0,               // end collection
                            });
  return bytes;
}

std::string ProductNameForVersion(unsigned version) {
  if (version == 99) return "Halvix CW";
  return "Halvix CW Ver" + std::to_string(version / 10) + "." + std::to_string(version % 10);
}

}  // namespace vantrel::tools
