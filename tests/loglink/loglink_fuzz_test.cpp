#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>

#include "loglink/log_reply.h"
#include "loglink/wire_format.h"

namespace vantrel::loglink {
namespace {

std::string ReadSeed(const std::string& name) {
  std::ifstream in(std::filesystem::path(VANTREL_FUZZ_SEED_DIR) / name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// What any reply may do to the boxes: a callsign of one token, cut to 31 bytes.
void ExpectSaneReply(const std::string& bytes) {
  LogReply reply = ParseLogReply(bytes);
  if (!reply.HisCall) return;
  EXPECT_FALSE(reply.HisCall->empty());
  EXPECT_LE(reply.HisCall->size(), kReplyTokenLimit);
  EXPECT_EQ(reply.HisCall->find_first_of(std::string(" \t\n\v\f\r\0", 7)), std::string::npos);
}

// Fed whole or in random pieces, the decoder reaches the same end and the same record.
void ExpectSameDecoding(const std::string& bytes, std::mt19937& random) {
  RecordDecoder whole;
  whole.Feed(bytes);
  RecordDecoder pieces;
  std::size_t at = 0;
  while (at < bytes.size() && pieces.state() == RecordDecoder::State::kNeedMore) {
    std::size_t size = std::min<std::size_t>(random() % 40 + 1, bytes.size() - at);
    at += pieces.Feed(std::string_view(bytes).substr(at, size));
  }
  ASSERT_EQ(whole.state(), pieces.state());
  if (whole.state() != RecordDecoder::State::kComplete) return;
  EXPECT_EQ(whole.record().bytes, pieces.record().bytes);
  EXPECT_EQ(whole.record().identifier, pieces.record().identifier);
  EXPECT_LE(kHeaderSize + whole.record().replyAddress.size() + whole.record().bytes.size(),
            kMaxMessageSize);
}

std::string Mutated(std::string bytes, std::mt19937& random) {
  int edits = static_cast<int>(random() % 8) + 1;
  for (int i = 0; i < edits; ++i) {
    std::size_t at = bytes.empty() ? 0 : random() % bytes.size();
    switch (random() % 4) {
      case 0:
        if (!bytes.empty()) bytes[at] = static_cast<char>(random());
        break;
      case 1:
        bytes.insert(at, 1, " \n\t\x00"[random() % 4]);
        break;
      case 2:
        if (!bytes.empty()) bytes.erase(at, 1);
        break;
      case 3:
        bytes.insert(at, 1, static_cast<char>(random()));
        break;
    }
  }
  return bytes;
}

int Rounds() {
  const char* rounds = std::getenv("VANTREL_FUZZ_ROUNDS");
  return rounds ? std::atoi(rounds) : 20000;
}

const char* const kSeeds[] = {
    "reply_plain.bin", "reply_white_space.bin", "reply_nul_inside.bin", "reply_random.bin",
    "frame_f11.bin",   "frame_truncated.bin",   "frame_oversized.bin",  "frame_two_messages.bin"};

class Seed : public ::testing::TestWithParam<const char*> {};

TEST_P(Seed, ReplaysWithoutHarm) {
  std::mt19937 random(1);
  std::string bytes = ReadSeed(GetParam());
  ExpectSaneReply(bytes);
  ExpectSameDecoding(bytes, random);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Seed, ::testing::ValuesIn(kSeeds));

TEST(Fuzz, SeedsKeepTheirMeaning) {
  LogReply reply = ParseLogReply(ReadSeed("reply_white_space.bin"));
  EXPECT_EQ(reply.HisCall, "JA1ZZZ");
  EXPECT_EQ(reply.Report, std::numeric_limits<int>::min());
  EXPECT_EQ(ParseLogReply(ReadSeed("reply_nul_inside.bin")).HisCall, "A");
  RecordDecoder truncated;
  truncated.Feed(ReadSeed("frame_truncated.bin"));
  EXPECT_EQ(truncated.state(), RecordDecoder::State::kNeedMore);
  RecordDecoder oversized;
  oversized.Feed(ReadSeed("frame_oversized.bin"));
  EXPECT_EQ(oversized.state(), RecordDecoder::State::kMalformed);
}

TEST(Fuzz, MutatedSeeds) {
  std::mt19937 random(20240607);
  for (int round = 0; round < Rounds(); ++round) {
    std::string bytes = Mutated(ReadSeed(kSeeds[round % std::size(kSeeds)]), random);
    ExpectSaneReply(bytes);
    ExpectSameDecoding(bytes, random);
    if (::testing::Test::HasFailure()) FAIL() << "round " << round;
  }
}

}  // namespace
}  // namespace vantrel::loglink
