#include "fuse_box_help.h"

#include "fuse_panel_map.h"

#include <QStringList>

#include <array>

namespace fusepanel {

namespace {

struct BitFacts {
    const char *name;    // as the datasheet spells it
    const char *ticked;  // what programming the bit does
    const char *effect;  // nullptr: the chip's own (boot size, clock select)
    const char *warning; // for the bits that can shut the programmer out
};

struct ChipFacts {
    ChipId chip;
    BitFacts highBit7;
    BitFacts highBit6;
    std::array<const char *, 4> bootStarts; // word addresses, 128 to 1024 words
    const char *clockSelectEffect;
};

// Lines are kept short: a tooltip does not wrap plain text.
const char *const bootLockEffect = "引导区保护（BLB12、BLB11 合用）：只限制芯片自身的 SPM/LPM 指令，\n"
                                   "不影响 ISP；只有芯片擦除才能清除";
const char *const applicationLockEffect = "应用区保护（BLB02、BLB01 合用）：只限制芯片自身的 SPM/LPM 指令，\n"
                                          "不影响 ISP；只有芯片擦除才能清除";
const char *const memoryLockEffect = "存储器锁定：只勾选 LB1 时禁止再编程；LB1、LB2 都勾选时连读取和校验也被禁止";
const char *const startUpEffect = "启动时间：上电或复位后等待时钟稳定的时间（与 CKSEL 的时钟源配合）";
const char *const clockSelectWarning = "警告：选了外部晶体、外部 RC 或外部时钟而电路上没有接上，芯片就停止工作，\n"
                                       "ISP 也无法访问；在 XTAL1 引脚接入外部时钟（或接上所选的晶体、RC 元件）才能恢复";

// Boxes 10 to 31; the chip's own bits stand in for boxes 16 and 17.
const std::array<BitFacts, 22> commonFacts{{
    {"BLB12", "从应用区执行的 LPM 指令不能读取引导区", bootLockEffect, nullptr},
    {"BLB11", "SPM 指令不能写引导区", bootLockEffect, nullptr},
    {"BLB02", "从引导区执行的 LPM 指令不能读取应用区", applicationLockEffect, nullptr},
    {"BLB01", "SPM 指令不能写应用区", applicationLockEffect, nullptr},
    {"LB2", "与 LB1 一起勾选时，Flash 和 EEPROM 不能再读取和校验", memoryLockEffect,
     "警告：与 LB1 一起写入后，芯片内容再也读不出、校验不了；\n"
     "只有芯片擦除才能解锁（编程 FLASH 时会先擦除芯片，程序随之清除）"},
    {"LB1", "禁止再编程 Flash 和 EEPROM，熔丝位也被锁定", memoryLockEffect,
     "警告：写入后芯片不能再编程，熔丝位也改不了；\n"
     "只有芯片擦除才能解锁（编程 FLASH 时会先擦除芯片，程序随之清除）"},
    {},
    {},
    {"SPIEN", "允许串行编程（ISP）和数据下载",
     "ISP 无法改变此位，所以此框只读，只随读取变化；\n写入前请先读取，让它保持勾选", nullptr},
    {"CKOPT", "振荡器满幅（轨到轨）输出", "振荡器选项：使用 8 MHz 以上的晶体时需要勾选；不勾选时振幅小、功耗低",
     nullptr},
    {"EESAVE", "芯片擦除时保留 EEPROM 的内容", "不勾选时，每次编程 FLASH（会先擦除芯片）都会清空 EEPROM", nullptr},
    {"BOOTSZ1", "与 BOOTSZ0 一起选择引导区的大小，见下表", nullptr, nullptr},
    {"BOOTSZ0", "与 BOOTSZ1 一起选择引导区的大小，见下表", nullptr, nullptr},
    {"BOOTRST", "复位后从引导区（引导程序）开始执行",
     "不勾选时复位后从地址 0x0000 开始执行；\n引导区的起始地址由 BOOTSZ1、BOOTSZ0 决定", nullptr},
    {"BODLEVEL", "掉电检测电平为 4.0 V", "不勾选时为 2.7 V；只在勾选 BODEN 时起作用", nullptr},
    {"BODEN", "开启掉电检测", "电源电压低于 BODLEVEL 选定的电平时，芯片保持在复位状态", nullptr},
    {"SUT1", "与 SUT0 一起选择启动时间", startUpEffect, nullptr},
    {"SUT0", "与 SUT1 一起选择启动时间", startUpEffect, nullptr},
    {"CKSEL3", "与 CKSEL2–0 一起选择时钟源", nullptr, clockSelectWarning},
    {"CKSEL2", "与 CKSEL3、CKSEL1、CKSEL0 一起选择时钟源", nullptr, clockSelectWarning},
    {"CKSEL1", "与 CKSEL3、CKSEL2、CKSEL0 一起选择时钟源", nullptr, clockSelectWarning},
    {"CKSEL0", "与 CKSEL3–1 一起选择时钟源", nullptr, clockSelectWarning},
}};

const std::array<ChipFacts, 2> chips{{
    {ChipId::ATmega8,
     {"RSTDISBL", "PC6 成为普通 I/O 引脚，不再是复位引脚", "外部复位失效，只剩上电、掉电检测和看门狗复位",
      "警告：写入后 ISP 编程再也无法访问芯片（ISP 要用复位引脚）；\n只有高压并行编程器才能恢复"},
     {"WDTON", "看门狗定时器始终开启", "软件不能关闭看门狗，程序必须按时执行 WDR 指令，否则芯片不断复位", nullptr},
     {"0xF80", "0xF00", "0xE00", "0xC00"},
     "时钟源：只能通过“时钟选择”列表或读取设置，不能手工勾选"},
    {ChipId::ATmega16,
     {"OCDEN", "允许片上调试（还要勾选 JTAGEN）",
      "只在 JTAG 调试时使用：勾选后部分时钟在休眠时也运行，\n功耗增大，产品中不要勾选", nullptr},
     {"JTAGEN", "允许 JTAG 接口（编程和调试）",
      "JTAG 占用 PC2–PC5（TCK、TMS、TDO、TDI）；\n要把这四个引脚当普通 I/O 用，就不要勾选", nullptr},
     {"0x1F80", "0x1F00", "0x1E00", "0x1C00"},
     "时钟源：只随读取变化（“时钟选择”列表只用于 ATmega8），不能手工勾选"},
}};

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

QString byteName(FuseByte byte)
{
    switch (byte) {
    case FuseByte::Lock:
        return QStringLiteral("锁定位字节（lock）");
    case FuseByte::HighFuse:
        return QStringLiteral("熔丝位高字节（hfuse）");
    case FuseByte::LowFuse:
        return QStringLiteral("熔丝位低字节（lfuse）");
    case FuseByte::None:
        break;
    }
    return QString();
}

QString factoryLine(const FactoryBytes &factory, FuseByte byte, int bit)
{
    const quint8 value = byte == FuseByte::HighFuse  ? factory.hfuse
                         : byte == FuseByte::LowFuse ? factory.lfuse
                                                     : factory.lock;
    QString line = ((value >> bit) & 1) ? QStringLiteral("出厂：未勾选") : QStringLiteral("出厂：已勾选");
    const QString hex = QStringLiteral("0x") + QString::number(value, 16).toUpper();
    if (byte == FuseByte::HighFuse)
        line += QStringLiteral("（出厂值 ") + hex + QStringLiteral("）");
    else if (byte == FuseByte::LowFuse)
        line += QStringLiteral("（出厂值 ") + hex + QStringLiteral("：内部 RC 1 MHz，最长启动时间）");
    return line;
}

QStringList bootSizeTable(const ChipFacts &chip)
{
    // BOOTSZ1/BOOTSZ0 programmed (ticked) means 0: 11 is the smallest section.
    const char *const marks[4] = {"未勾选、未勾选", "未勾选、勾选", "勾选、未勾选", "勾选、勾选"};
    QStringList lines{QStringLiteral("引导区大小（BOOTSZ1、BOOTSZ0）和起始字地址：")};
    for (int i = 0; i < 4; ++i)
        lines << QStringLiteral("  ") + utf8(marks[i]) + QStringLiteral("：") + QString::number(128 << i)
                     + QStringLiteral(" 字，") + utf8(chip.bootStarts[size_t(i)]);
    return lines;
}

const ChipFacts *chipOf(const ChipProfile &device)
{
    for (const ChipFacts &chip : chips)
        if (device.id == chip.chip)
            return &chip;
    return nullptr;
}

} // namespace

QString boxHelp(const ChipProfile &device, int index)
{
    const ChipFacts *chip = chipOf(device);
    if (!chip || index < firstLabelledBox || index >= boxCount)
        return QString();
    const BitFacts &facts = index == 16   ? chip->highBit7
                            : index == 17 ? chip->highBit6
                                          : commonFacts[size_t(index - firstLabelledBox)];
    const FuseByte byte = byteOfBox(index);
    const int bit = bitOfBox(index);

    QStringList lines;
    lines << utf8(facts.name) + QStringLiteral("：") + byteName(byte) + QStringLiteral("第 ") + QString::number(bit)
                 + QStringLiteral(" 位");
    lines << QStringLiteral("勾选 = 已编程（位值 0）：") + utf8(facts.ticked);
    lines << factoryLine(device.factory, byte, bit);
    if (facts.effect)
        lines << utf8(facts.effect);
    else if (byte == FuseByte::HighFuse)
        lines << bootSizeTable(*chip);
    else
        lines << utf8(chip->clockSelectEffect);
    if (facts.warning)
        lines << utf8(facts.warning);
    return lines.join(QLatin1Char('\n'));
}

} // namespace fusepanel
