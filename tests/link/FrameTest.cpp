#include "link/Frame.h"

#include <gtest/gtest.h>

namespace quorvex::link {
namespace {

const Bytes kAllStatus80Answer = {0x01, 0x2B, 0x21, 0x4A, 0x04, 0x80, 0x80, 0x80, 0x80,
                                  0x80, 0x80, 0x05, 0x30, 0x33, 0x39, 0x3F, 0x03};

AnswerReceiver receiveAll(const Bytes& bytes)
{
    AnswerReceiver receiver;
    for (std::uint8_t b : bytes)
        receiver.feed(b);
    return receiver;
}

Bytes concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(FrameCodec, RequestFramesMatchKnownBytes)
{
    EXPECT_EQ(buildRequestFrame(0x21, 0x4A, "W"),
              (Bytes{0x01, 0x25, 0x21, 0x4A, 0x57, 0x05, 0x30, 0x30, 0x3E, 0x3C, 0x03}));

    const Bytes empty = buildRequestFrame(0x20, 0x4A, "");
    ASSERT_EQ(empty.size(), 10u);
    EXPECT_EQ(empty[1], 0x24);
    EXPECT_EQ(empty[4], 0x05);
    EXPECT_EQ(empty[9], 0x03);
}

TEST(FrameCodec, HexBytesArePairsSeparatedByBlanks)
{
    EXPECT_EQ(hexBytes(std::string("\x01\x25\xFF\x00", 4)), "01 25 FF 00");
    EXPECT_EQ(hexBytes(""), "");
}

TEST(FrameCodec, RequestDataBytesTravelUntranslated)
{
    const std::string data = "Продажа,\x7F\xFF";

    const Bytes frame = buildRequestFrame(0x30, 0x34, data);

    ASSERT_EQ(frame.size(), data.size() + 10);
    EXPECT_EQ(std::string(frame.begin() + 4, frame.begin() + 4 + data.size()), data);
    EXPECT_EQ(readChecksumDigits(std::span(frame).subspan(data.size() + 5, 4)),
              checksumOf(std::span(frame).subspan(1, data.size() + 4)));
}

TEST(FrameCodec, ChecksumDigitsUseColonToQuestionMarkAboveNine)
{
    EXPECT_EQ(checksumDigits(0x01A3), (ChecksumDigits{0x30, 0x31, 0x3A, 0x33}));
    EXPECT_EQ(checksumDigits(0xFFFF), (ChecksumDigits{0x3F, 0x3F, 0x3F, 0x3F}));
    const ChecksumDigits digits = checksumDigits(0xBEEF);
    EXPECT_EQ(readChecksumDigits(digits), 0xBEEF);
}

TEST(FrameCodec, SequenceByteWrapsWithinPrintableRange)
{
    EXPECT_EQ(sequenceByte(1), 0x21);
    EXPECT_EQ(sequenceByte(94), 0x7E);
    EXPECT_EQ(sequenceByte(95), 0x20);
    EXPECT_EQ(sequenceByte(255), 0x61);
    EXPECT_EQ(sequenceByte(0), 0x20);
}

TEST(FrameCodec, AnswerFrameBuilderAgreesWithReceiver)
{
    EXPECT_EQ(buildAnswerFrame(0x21, 0x4A, "", StatusBytes{0x80, 0x80, 0x80, 0x80, 0x80, 0x80}),
              kAllStatus80Answer);

    const StatusBytes status{0x81, 0x02, 0x00, 0x8F, 0x00, 0x20};
    const AnswerReceiver r = receiveAll(buildAnswerFrame(0x35, 0x4A, "1,2,,Ж", status));

    EXPECT_TRUE(r.ended());
    EXPECT_TRUE(r.checksumOk());
    EXPECT_FALSE(r.nak());
    EXPECT_EQ(r.data(), "1,2,,Ж");
    EXPECT_EQ(r.status(), status);
    EXPECT_EQ(r.sequence(), 0x15);
    EXPECT_EQ(r.command(), 0x4A);
}

TEST(FrameCodec, EachStatusBitMapsToItsOwnErrorBit)
{
    struct Mapping {
        int byte;
        std::uint8_t mask;
        std::uint32_t errorBit;
    };
    // clang-format off
    const Mapping mappings[] = {
        {0, 0x01, 0x00000001}, {0, 0x02, 0x00000002}, {0, 0x04, 0x00000004},
        {0, 0x10, 0x00000008}, {0, 0x20, 0x08000000}, {1, 0x01, 0x00000010},
        {1, 0x02, 0x00000020}, {1, 0x04, 0x00000040}, {1, 0x08, 0x00000080},
        {1, 0x10, 0x00000100}, {1, 0x20, 0x00001000}, {2, 0x01, 0x00000200},
        {2, 0x08, 0x00000400}, {2, 0x20, 0x00000800}, {4, 0x01, 0x00010000},
        {4, 0x04, 0x00002000}, {4, 0x08, 0x00100000}, {4, 0x10, 0x00020000},
        {4, 0x20, 0x10000000}, {5, 0x01, 0x00040000}, {5, 0x02, 0x00200000},
        {5, 0x04, 0x00080000}, {5, 0x08, 0x00400000}, {5, 0x10, 0x00800000},
        {5, 0x20, 0x00004000},
    };
    // clang-format on

    for (const Mapping& m : mappings) {
        StatusBytes status{0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
        status[m.byte] |= m.mask;
        EXPECT_EQ(errorWordFromStatus(status), m.errorBit)
            << "S" << m.byte << " bit " << int(m.mask);
    }
    // S3, bits 6 and 7 and the unlisted bits contribute nothing.
    EXPECT_EQ(errorWordFromStatus({0xC8, 0xC0, 0xD6, 0xFF, 0xC2, 0xC0}), 0u);
}

TEST(AnswerReceiver, AllStatus80AnswerPassesChecksum)
{
    const AnswerReceiver r = receiveAll(kAllStatus80Answer);

    EXPECT_TRUE(r.ended());
    EXPECT_TRUE(r.checksumOk());
    EXPECT_TRUE(r.data().empty());
    EXPECT_EQ(r.raw(), std::string(kAllStatus80Answer.begin(), kAllStatus80Answer.end()));
}

TEST(AnswerReceiver, NakEndsTheAnswerEvenMidFrame)
{
    Bytes bytes(kAllStatus80Answer.begin(), kAllStatus80Answer.begin() + 7);
    bytes.push_back(NAK);

    const AnswerReceiver r = receiveAll(bytes);

    EXPECT_TRUE(r.ended());
    EXPECT_TRUE(r.nak());
    EXPECT_EQ(r.state(), AnswerReceiver::WaitSoh);
}

TEST(AnswerReceiver, CorruptedFramesAreDroppedUntilTheNextSoh)
{
    Bytes badLen = {0x01, 0x2A, 0x21, 0x4A, 0x04};
    Bytes badSeq = {0x01, 0x2B, 0x1F, 0x4A, 0x04};
    Bytes badSeparator = buildAnswerFrame(0x21, 0x4A, "AB", {});
    badSeparator[6] = 0x06;
    Bytes badCheckedEnd = buildAnswerFrame(0x21, 0x4A, "", {});
    badCheckedEnd[11] = 0x06;
    Bytes byteAfterDigits = buildAnswerFrame(0x21, 0x4A, "", {});
    byteAfterDigits.back() = 0x20;

    for (const Bytes& bad : {badLen, badSeq, badSeparator, badCheckedEnd, byteAfterDigits}) {
        // A trailing ETX may still end the answer, but never as a good one.
        const AnswerReceiver dropped = receiveAll(bad);
        EXPECT_FALSE(dropped.checksumOk());
        EXPECT_EQ(dropped.state(), AnswerReceiver::WaitSoh);

        const AnswerReceiver recovered =
            receiveAll(concat(bad, buildAnswerFrame(0x22, 0x4A, "OK", {})));
        EXPECT_TRUE(recovered.ended());
        EXPECT_TRUE(recovered.checksumOk());
        EXPECT_EQ(recovered.data(), "OK");
    }
}

TEST(AnswerReceiver, EtxBeforeTheLastDigitFailsTheChecksum)
{
    // The digits read so far would match a zero sum; a lone ETX must still not pass.
    const AnswerReceiver lone = receiveAll({ETX});
    EXPECT_TRUE(lone.ended());
    EXPECT_FALSE(lone.checksumOk());

    Bytes cut = buildAnswerFrame(0x21, 0x4A, "", {});
    cut.erase(cut.end() - 3, cut.end() - 1); // two digits missing
    const AnswerReceiver r = receiveAll(cut);
    EXPECT_TRUE(r.ended());
    EXPECT_FALSE(r.checksumOk());

    // A frame dropped after its digits is not revived by a later stray ETX.
    Bytes dropped = buildAnswerFrame(0x21, 0x4A, "", {});
    dropped.back() = 0x20;
    dropped.push_back(ETX);
    EXPECT_FALSE(receiveAll(dropped).checksumOk());
}

TEST(AnswerReceiver, WrongDigitGivesChecksumMismatch)
{
    Bytes bytes = kAllStatus80Answer;
    bytes[15] = 0x3E;

    const AnswerReceiver r = receiveAll(bytes);

    EXPECT_TRUE(r.ended());
    EXPECT_FALSE(r.checksumOk());
}

TEST(AnswerReceiver, BytesAfterTheEtxKeepTheVerdict)
{
    const Bytes good = buildAnswerFrame(0x21, 0x4A, "OK", {0x80, 0, 0, 0, 0, 0});
    const Bytes bad = concat(Bytes(good.begin(), good.end() - 2), {0x30, ETX}); // wrong digit

    for (const Bytes& after : {Bytes{SYN}, Bytes{0x20}, Bytes{0x7F, ETX}, Bytes{SYN, 0x20, ETX}}) {
        EXPECT_TRUE(receiveAll(concat(good, after)).checksumOk()) << int(after[0]);
        EXPECT_FALSE(receiveAll(concat(bad, after)).checksumOk()) << int(after[0]);
    }
}

TEST(AnswerReceiver, SynIsNeverKeptInRawBytes)
{
    const AnswerReceiver r = receiveAll(concat({SYN, SYN}, kAllStatus80Answer));

    EXPECT_TRUE(r.checksumOk());
    EXPECT_EQ(r.raw().size(), kAllStatus80Answer.size());
}

TEST(AnswerReceiver, LongestAnswerAndOverlongRawStayInBounds)
{
    const std::string longest(kMaxAnswerData, 'x');
    const Bytes frame = buildAnswerFrame(0x21, 0x4A, longest, {});
    ASSERT_EQ(frame[1], 0xFF);
    const Bytes garbage(200, 'g');

    const AnswerReceiver r = receiveAll(concat(garbage, frame));

    EXPECT_TRUE(r.ended());
    EXPECT_TRUE(r.checksumOk());
    EXPECT_EQ(r.data(), longest);
    EXPECT_EQ(r.raw().size(), kMaxRawAnswer);
    EXPECT_EQ(r.raw().substr(0, 200), std::string(200, 'g'));
}

TEST(AnswerReceiver, ResetClearsEverythingOfThePreviousExchange)
{
    AnswerReceiver r = receiveAll(buildAnswerFrame(0x21, 0x4A, "AB", {1, 2, 3, 4, 5, 6}));

    r.reset();

    EXPECT_FALSE(r.ended());
    EXPECT_FALSE(r.checksumOk());
    EXPECT_TRUE(r.data().empty());
    EXPECT_TRUE(r.raw().empty());
    EXPECT_EQ(r.status(), StatusBytes{});
}

TEST(AnswerFields, EmptyFieldsCountAndUnusedSlotsAreEmpty)
{
    std::array<std::string, kMaxFields> fields;
    fields[7] = "stale";

    EXPECT_EQ(splitAnswerFields("a,,b,", fields), 4);
    EXPECT_EQ(fields[0], "a");
    EXPECT_EQ(fields[1], "");
    EXPECT_EQ(fields[2], "b");
    EXPECT_EQ(fields[3], "");
    EXPECT_EQ(fields[7], "");

    EXPECT_EQ(splitAnswerFields("", fields), 0);
    EXPECT_EQ(fields[0], "");
}

TEST(AnswerFields, TwentiethFieldKeepsTheRest)
{
    std::array<std::string, kMaxFields> fields;
    std::string data;
    for (int i = 0; i < 25; ++i)
        data += std::to_string(i) + ",";

    EXPECT_EQ(splitAnswerFields(data, fields), kMaxFields);
    EXPECT_EQ(fields[18], "18");
    EXPECT_EQ(fields[19], "19,20,21,22,23,24,");
}

TEST(AnswerFields, FourCommandsAreRewrittenBeforeSplitting)
{
    EXPECT_EQ(rewriteAnswerData(0x32, "P123"), "P,123");
    EXPECT_EQ(rewriteAnswerData(0x35, "S500,0"), "S,500,0");
    EXPECT_EQ(rewriteAnswerData(0x3E, "07-12-26 01:52:58"), "07-12-26,01:52:58");
    EXPECT_EQ(rewriteAnswerData(0x5A, "5.00 07Dec26 1234 ABCDEF QV 1"),
              "5.00,07Dec26,1234,ABCDEF QV 1");
    EXPECT_EQ(rewriteAnswerData(0x4A, "a b"), "a b");
}

TEST(AnswerFields, ShortDataIsNotRewritten)
{
    for (int command : {0x32, 0x35, 0x3E, 0x5A})
        EXPECT_EQ(rewriteAnswerData(command, "X"), "X") << command;
    EXPECT_EQ(rewriteAnswerData(0x5A, " "), " ");
    // No ninth character: nothing to replace, no field appended.
    EXPECT_EQ(rewriteAnswerData(0x3E, "07-12-26"), "07-12-26");
}

} // namespace
} // namespace quorvex::link
