// The AVR910 command set, byte for byte as avrdude's avr910.c sends and
// expects it.
#include "avr910_programmer.h"
#include "chip.h"

#include <QtTest>

namespace {

const QByteArray CR("\r");

class RecordingEvents : public ProgrammerEvents {
public:
    void sessionStarting() override { log << "session"; }
    void chipChanged(unsigned parts) override { log << QString("changed %1").arg(parts); }
    void commandServed(const std::string &line) override { lines << QString::fromStdString(line); }
    QStringList log;
    QStringList lines;
};

struct Bench {
    explicit Bench(const ChipModel *model, unsigned block = 128) : chip(model), programmer(chip, block, &events) {}

    QByteArray ask(const QByteArray &bytes)
    {
        std::string answer;
        programmer.receive(reinterpret_cast<const uint8_t *>(bytes.constData()), std::size_t(bytes.size()), answer);
        return QByteArray(answer.data(), int(answer.size()));
    }

    Chip chip;
    RecordingEvents events;
    Avr910Programmer programmer;
};

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

QByteArray setAddress(int address)
{
    return bytes({'A', (address >> 8) & 0xFF, address & 0xFF});
}

QByteArray blockCommand(char command, int size, char memory)
{
    return bytes({command, (size >> 8) & 0xFF, size & 0xFF, memory});
}

} // namespace

class SimProtocolTest : public QObject {
    Q_OBJECT

private slots:
    void identification();
    void blockModeAnnouncement_data();
    void blockModeAnnouncement();
    void deviceListAndSelection();
    void modeCommandsAcknowledge();
    void signatureComesLastByteFirst();
    void classicFlashWriteAsAvr910Sends();
    void flashReadGivesHighByteFirstAndIncrements();
    void eepromByteCommandsIncrement();
    void blockWriteAndReadFlash();
    void blockWriteAndReadEeprom();
    void blockCommandsRejected_data();
    void blockCommandsRejected();
    void universalCommands();
    void chipEraseCommand();
    void unknownCommandsAnswerQuestionMarkAndServingGoesOn();
    void commandsSplitAcrossReadsAnswerTheSame();
    void partialCommandCanBeDropped();
    void sessionStartsOnIdAndProgrammingMode();
    void changesAreReportedBeforeTheAnswer();
    void everyCommandIsLogged();
    void emptySocketStillHasAProgrammer();
};

void SimProtocolTest::identification()
{
    Bench b(&atmega8Model());
    QCOMPARE(b.ask("S"), QByteArray("AVR ISP")); // avr910.c reads exactly 7 bytes
    QCOMPARE(b.ask("V").size(), 2);
    QCOMPARE(b.ask("v").size(), 2);
    QCOMPARE(b.ask("p"), QByteArray("S"));
    QCOMPARE(b.ask("a"), QByteArray("Y"));
}

void SimProtocolTest::blockModeAnnouncement_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("default 128") << 128 << bytes({'Y', 0x00, 0x80});
    QTest::newRow("256 needs the high byte") << 256 << bytes({'Y', 0x01, 0x00});
    QTest::newRow("classic") << 0 << QByteArray("N");
}

void SimProtocolTest::blockModeAnnouncement()
{
    QFETCH(int, block);
    QFETCH(QByteArray, answer);
    Bench b(&atmega8Model(), unsigned(block));
    QCOMPARE(b.ask("b"), answer);
}

void SimProtocolTest::deviceListAndSelection()
{
    Bench b(&atmega8Model());
    // ATmega8 0x76 and ATmega16 0x74 (avr910_devcode), then the 0 terminator.
    QCOMPARE(b.ask("t"), bytes({0x76, 0x74, 0x00}));
    QCOMPARE(b.ask(bytes({'T', 0x76})), CR);
    QCOMPARE(b.ask(bytes({'T', 0x74})), CR);
    QCOMPARE(b.ask(bytes({'T', 0x55})), QByteArray("?"));
}

void SimProtocolTest::modeCommandsAcknowledge()
{
    Bench b(&atmega8Model());
    QCOMPARE(b.ask("P"), CR);
    QCOMPARE(b.ask("L"), CR);
    QCOMPARE(b.ask("E"), CR);
    QCOMPARE(b.ask(bytes({'x', 0})), CR);
    QCOMPARE(b.ask(bytes({'y', 0})), CR);
    QCOMPARE(b.ask(setAddress(0x1234)), CR);
    QCOMPARE(b.programmer.address(), 0x1234u);
    QCOMPARE(b.ask(QByteArray(1, 0x1B)), QByteArray()); // escape: no answer at all
}

void SimProtocolTest::signatureComesLastByteFirst()
{
    Bench m8(&atmega8Model());
    QCOMPARE(m8.ask("s"), bytes({0x07, 0x93, 0x1E}));
    Bench m16(&atmega16Model());
    QCOMPARE(m16.ask("s"), bytes({0x03, 0x94, 0x1E}));
}

void SimProtocolTest::classicFlashWriteAsAvr910Sends()
{
    // avr910_paged_write_flash(): 'A' once, then 'c'/'C' pairs relying on
    // auto-increment, and per page 'A' page start + 'm' + 'A' next address.
    Bench b(&atmega8Model(), 0);
    const int pageWords = 32;
    QByteArray expectedFlash;
    QCOMPARE(b.ask(setAddress(pageWords)), CR); // second page
    for (int word = 0; word < pageWords; ++word) {
        const char lo = char(word), hi = char(0x80 | word);
        QCOMPARE(b.ask(QByteArray("c") + lo), CR);
        QCOMPARE(b.ask(QByteArray("C") + hi), CR);
        expectedFlash += lo;
        expectedFlash += hi;
    }
    QCOMPARE(b.programmer.address(), unsigned(2 * pageWords));
    QCOMPARE(b.chip.readFlash(64), quint8(0xFF)); // nothing before 'm'
    QCOMPARE(b.ask(setAddress(pageWords)), CR);
    QCOMPARE(b.ask("m"), CR);
    const auto &flash = b.chip.memories().flash;
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(flash.data()) + 64, 64), expectedFlash);
    QCOMPARE(flash[63], quint8(0xFF));
    QCOMPARE(flash[128], quint8(0xFF));
}

void SimProtocolTest::flashReadGivesHighByteFirstAndIncrements()
{
    Bench b(&atmega8Model(), 0);
    b.chip.programFlash(0x20, 0x34); // word 0x10, low byte
    b.chip.programFlash(0x21, 0x12);
    b.chip.programFlash(0x22, 0x78);
    b.chip.programFlash(0x23, 0x56);
    b.ask(setAddress(0x10));
    QCOMPARE(b.ask("R"), bytes({0x12, 0x34}));
    QCOMPARE(b.ask("R"), bytes({0x56, 0x78}));
    QCOMPARE(b.ask("RR"), bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(b.programmer.address(), 0x14u);
}

void SimProtocolTest::eepromByteCommandsIncrement()
{
    Bench b(&atmega8Model(), 0);
    b.ask(setAddress(0x1FE));
    QCOMPARE(b.ask(bytes({'D', 0x11})), CR);
    QCOMPARE(b.ask(bytes({'D', 0x22})), CR);
    QCOMPARE(b.chip.memories().eeprom[0x1FE], quint8(0x11));
    QCOMPARE(b.chip.memories().eeprom[0x1FF], quint8(0x22));
    b.ask(setAddress(0x1FE));
    QCOMPARE(b.ask("dd"), bytes({0x11, 0x22}));
}

void SimProtocolTest::blockWriteAndReadFlash()
{
    Bench b(&atmega16Model(), 128);
    QByteArray data;
    for (int i = 0; i < 128; ++i)
        data += char(i ^ 0x5A);
    b.ask(setAddress(0x40)); // word address: byte 0x80
    QCOMPARE(b.ask(blockCommand('B', 128, 'F') + data), CR);
    QCOMPARE(b.programmer.address(), 0x80u);
    const auto &flash = b.chip.memories().flash;
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(flash.data()) + 0x80, 128), data);

    // Block reads come in memory order, low byte first.
    b.ask(setAddress(0x40));
    QCOMPARE(b.ask(blockCommand('g', 128, 'F')), data);
    QCOMPARE(b.ask(blockCommand('g', 4, 'F')), bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(b.programmer.address(), 0x82u);

    // Block writes program like the silicon: only 1 -> 0.
    b.ask(setAddress(0x40));
    QCOMPARE(b.ask(blockCommand('B', 2, 'F') + bytes({0x0F, 0xF0})), CR);
    QCOMPARE(int(flash[0x80]), (0x5A & 0x0F));
    QCOMPARE(int(flash[0x81]), ((1 ^ 0x5A) & 0xF0));
}

void SimProtocolTest::blockWriteAndReadEeprom()
{
    Bench b(&atmega8Model(), 128);
    // avrdude writes EEPROM in block mode one byte per 'B'.
    b.ask(setAddress(0x100));
    for (char c : QByteArray("abc"))
        QCOMPARE(b.ask(blockCommand('B', 1, 'E') + c), CR);
    QCOMPARE(b.programmer.address(), 0x103u);
    b.ask(setAddress(0x100));
    QCOMPARE(b.ask(blockCommand('g', 4, 'E')), QByteArray("abc\xFF"));
}

void SimProtocolTest::blockCommandsRejected_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("write bigger than the buffer") << 64 << blockCommand('B', 65, 'F') + QByteArray(65, 0);
    QTest::newRow("write to an unknown memory") << 128 << blockCommand('B', 2, 'X') + QByteArray(2, 0);
    QTest::newRow("write without block mode") << 0 << blockCommand('B', 2, 'F') + QByteArray(2, 0);
    QTest::newRow("read bigger than the buffer") << 64 << blockCommand('g', 65, 'F');
    QTest::newRow("read from an unknown memory") << 128 << blockCommand('g', 2, 'L');
    QTest::newRow("read without block mode") << 0 << blockCommand('g', 2, 'E');
}

void SimProtocolTest::blockCommandsRejected()
{
    QFETCH(int, block);
    QFETCH(QByteArray, command);
    Bench b(&atmega8Model(), unsigned(block));
    // One '?' for the whole command; its data bytes are not taken as
    // commands, so the next command is understood.
    QCOMPARE(b.ask(command + "s"), QByteArray("?") + bytes({0x07, 0x93, 0x1E}));
    QVERIFY(std::all_of(b.chip.memories().flash.begin(), b.chip.memories().flash.end(),
                        [](uint8_t v) { return v == 0xFF; }));
}

void SimProtocolTest::universalCommands()
{
    Bench b(&atmega8Model());
    // '.' + 4 instruction bytes -> output byte + CR, which avr910_cmd() reads.
    QCOMPARE(b.ask(bytes({'.', 0x50, 0x00, 0x00, 0x00})), bytes({0xE1, '\r'}));
    QCOMPARE(b.ask(bytes({'.', 0x38, 0x00, 0x02, 0x00})), bytes({0x9D, '\r'}));
    QCOMPARE(b.ask(bytes({'.', 0xAC, 0xA0, 0x00, 0x2E})), bytes({0x00, '\r'}));
    QCOMPARE(int(b.chip.readLowFuse()), 0x2E);
    // The older ':' form carries 3 bytes.
    QCOMPARE(b.ask(bytes({':', 0x58, 0x08, 0x00})), bytes({0xD9, '\r'}));
}

void SimProtocolTest::chipEraseCommand()
{
    Bench b(&atmega8Model());
    b.chip.programFlash(0, 0x00);
    b.chip.writeLock(0xFC);
    QCOMPARE(b.ask("e"), CR);
    QCOMPARE(int(b.chip.memories().flash[0]), 0xFF);
    QCOMPARE(int(b.chip.readLock()), 0xFF);
}

void SimProtocolTest::unknownCommandsAnswerQuestionMarkAndServingGoesOn()
{
    Bench b(&atmega8Model());
    QCOMPARE(b.ask("Z"), QByteArray("?"));
    QCOMPARE(b.ask(QByteArray(1, '\0')), QByteArray("?"));
    QCOMPARE(b.ask(QByteArray(1, char(0xFF))), QByteArray("?"));
    QCOMPARE(b.ask("Z?s"), QByteArray("??") + bytes({0x07, 0x93, 0x1E}));
    QCOMPARE(b.ask("S"), QByteArray("AVR ISP"));
}

void SimProtocolTest::commandsSplitAcrossReadsAnswerTheSame()
{
    QByteArray script = "SVvpabt" + bytes({'T', 0x76}) + "Ps" + setAddress(0x20) + blockCommand('B', 4, 'F')
                        + bytes({1, 2, 3, 4}) + setAddress(0x20) + blockCommand('g', 4, 'F')
                        + bytes({'.', 0x58, 0x08, 0, 0}) + "L";
    Bench whole(&atmega8Model());
    const QByteArray expected = whole.ask(script);
    Bench trickle(&atmega8Model());
    QByteArray answer;
    for (char c : script)
        answer += trickle.ask(QByteArray(1, c));
    QCOMPARE(answer, expected);
    QVERIFY(answer.endsWith(bytes({1, 2, 3, 4, 0xD9, '\r', '\r'})));
}

void SimProtocolTest::partialCommandCanBeDropped()
{
    Bench b(&atmega8Model());
    QCOMPARE(b.ask(blockCommand('B', 64, 'F') + QByteArray(10, 0)), QByteArray());
    QVERIFY(b.programmer.hasPartialCommand());
    b.programmer.discardPartialCommand();
    QVERIFY(!b.programmer.hasPartialCommand());
    QCOMPARE(b.ask("S"), QByteArray("AVR ISP"));
}

void SimProtocolTest::sessionStartsOnIdAndProgrammingMode()
{
    Bench b(&atmega8Model());
    b.ask("Vvpabt");
    QVERIFY(b.events.log.isEmpty());
    b.ask("S");
    b.ask("P");
    QCOMPARE(b.events.log, QStringList({"session", "session"}));
}

void SimProtocolTest::changesAreReportedBeforeTheAnswer()
{
    // The server saves the state files in chipChanged(); an avrdude that got
    // its answer may exit and a test may read the files at once.
    class Watcher : public ProgrammerEvents {
    public:
        void chipChanged(unsigned parts) override { changes.append({parts, answerSoFar->size()}); }
        QList<QPair<unsigned, std::size_t>> changes;
        const std::string *answerSoFar = nullptr;
    } watcher;
    Chip chip(&atmega8Model());
    Avr910Programmer programmer(chip, 128, &watcher);
    std::string answer;
    watcher.answerSoFar = &answer;
    const QByteArray script = bytes({'.', 0xAC, 0xA8, 0x00, 0xD1}) + "e";
    programmer.receive(reinterpret_cast<const uint8_t *>(script.constData()), std::size_t(script.size()), answer);
    QCOMPARE(watcher.changes.size(), 1); // erasing a fresh chip changes nothing
    QCOMPARE(watcher.changes[0].first, unsigned(HighFusePart));
    QCOMPARE(watcher.changes[0].second, std::size_t(0));

    chip.programFlash(0, 0);
    watcher.changes.clear();
    const QByteArray erase("e");
    programmer.receive(reinterpret_cast<const uint8_t *>(erase.constData()), 1, answer);
    QCOMPARE(watcher.changes.size(), 1);
    QCOMPARE(watcher.changes[0].first, unsigned(FlashPart));
    QCOMPARE(watcher.changes[0].second, std::size_t(3)); // before the erase's CR
}

void SimProtocolTest::everyCommandIsLogged()
{
    Bench b(&atmega8Model());
    b.ask("S" + setAddress(0x1234) + "Z");
    QCOMPARE(b.events.lines.size(), 3);
    QVERIFY(b.events.lines[1].contains("0x1234"));
    QVERIFY(b.events.lines[2].contains("unknown"));
}

void SimProtocolTest::emptySocketStillHasAProgrammer()
{
    Bench b(nullptr);
    QCOMPARE(b.ask("S"), QByteArray("AVR ISP"));
    QCOMPARE(b.ask("t"), bytes({0x76, 0x74, 0x00}));
    QCOMPARE(b.ask(bytes({'T', 0x76})), CR);
    QCOMPARE(b.ask("P"), CR);
    QCOMPARE(b.ask("s"), bytes({0, 0, 0}));
    QCOMPARE(b.ask(bytes({'.', 0x50, 0x00, 0x00, 0x00})), bytes({0x00, '\r'}));
    b.ask(setAddress(0));
    QCOMPARE(b.ask("R"), bytes({0, 0}));
    QCOMPARE(b.ask(blockCommand('g', 4, 'F')), bytes({0, 0, 0, 0}));
    QCOMPARE(b.ask("e"), CR);
}

QTEST_APPLESS_MAIN(SimProtocolTest)
#include "tst_sim_protocol.moc"
