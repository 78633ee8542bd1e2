#include "testsupport.h"

#include "material/Conversions.h"

#include <cmath>
#include <limits>

using namespace tintara;

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void channelToByte_data();
    void channelToByte();
    void channelToByteErrors_data();
    void channelToByteErrors();
    void byteRoundTrip();
    void guard_data();
    void guard();
    void guardRejectsEveryNaN();
};

void TestConversions::channelToByte_data() {
    QTest::addColumn<float>("channel");
    QTest::addColumn<int>("expected");
    QTest::newRow("zero") << 0.0f << 0;
    QTest::newRow("half truncates") << 0.5f << 127;
    QTest::newRow("one") << 1.0f << 255;
    QTest::newRow("one and a half") << 1.5f << 382;
    QTest::newRow("minus half truncates toward zero") << -0.5f << -127;
    QTest::newRow("0.999") << 0.999f << 254;
    QTest::newRow("0.0039") << 0.0039f << 0;
    QTest::newRow("two carries past a byte") << 2.0f << 510;
    // Only the low 32 bits of the 64-bit product are kept.
    QTest::newRow("product just above 2^32 wraps") << 16843010.0f << 254;
    QTest::newRow("largest guarded value wraps negative") << 1111111040.0f << -134526336;
}

void TestConversions::channelToByte() {
    QFETCH(float, channel);
    QFETCH(int, expected);
    QCOMPARE(ChannelToByte(channel), expected);
}

void TestConversions::channelToByteErrors_data() {
    QTest::addColumn<float>("channel");
    QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("minus infinity") << -std::numeric_limits<float>::infinity();
    QTest::newRow("plus infinity") << std::numeric_limits<float>::infinity();
    QTest::newRow("-1e30 leaves 64-bit range") << -1.0e30f;
    QTest::newRow("1e17 leaves 64-bit range") << 1.0e17f;
}

void TestConversions::channelToByteErrors() {
    QFETCH(float, channel);
    QVERIFY_THROWS_EXCEPTION(ConversionError, ChannelToByte(channel));
}

void TestConversions::byteRoundTrip() {
    for (int value = 0; value <= 255; ++value) {
        const float channel = ByteToChannel(value);
        QCOMPARE(channel, static_cast<float>(value / 255.0));
        QCOMPARE(ChannelToByte(channel), value);
    }
    QCOMPARE(ByteToChannel(127), 0.49803922f);
    QCOMPARE(ByteToChannel(255), 1.0f);
}

void TestConversions::guard_data() {
    QTest::addColumn<float>("stored");
    QTest::addColumn<float>("read");
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("plus infinity reads as zero") << inf << 0.0f;
    QTest::newRow("2e9 reads as zero") << 2.0e9f << 0.0f;
    // The float nearest 1111111111 is 1111111168, above the limit.
    QTest::newRow("limit as float is above limit") << 1111111111.0f << 0.0f;
    QTest::newRow("just below limit kept") << 1111111040.0f << 1111111040.0f;
    QTest::newRow("1e9 kept") << 1.0e9f << 1.0e9f;
    QTest::newRow("negative kept") << -5.0f << -5.0f;
    QTest::newRow("huge negative kept") << -1.0e30f << -1.0e30f;
    QTest::newRow("minus infinity kept") << -inf << -inf;
}

void TestConversions::guard() {
    QFETCH(float, stored);
    QFETCH(float, read);
    unsigned char bytes[4];
    EncodeFloatLE(stored, bytes);
    QCOMPARE(ReadGuardedFloat(bytes), read);
}

void TestConversions::guardRejectsEveryNaN() {
    // Quiet and signalling NaNs of both signs, with low and high payloads.
    for (const std::uint32_t bits :
         {0x7FC00000u, 0x7F800001u, 0xFFC00000u, 0xFFFFFFFFu, 0x7FBFFFFFu}) {
        const unsigned char bytes[4] = {static_cast<unsigned char>(bits & 0xFF),
                                        static_cast<unsigned char>((bits >> 8) & 0xFF),
                                        static_cast<unsigned char>((bits >> 16) & 0xFF),
                                        static_cast<unsigned char>(bits >> 24)};
        QVERIFY_THROWS_EXCEPTION(ConversionError, ReadGuardedFloat(bytes));
    }
}

TINTARA_TEST_MAIN(TestConversions)
#include "tst_conversions.moc"
