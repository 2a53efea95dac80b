#pragma once

#include "generic_tx/ControlLines.h"
#include "generic_tx/LineSettings.h"

#include <QList>
#include <memory>

// The lines on a GPIO chip of the kernel's GPIO character device (a single-board computer's
// header), by line number, through libgpiod. The squelch input is biased towards its closed
// level (a pull-down when it opens at +5 V, a pull-up when it opens at 0 V), so an input left
// unconnected never stops a scan.
class GpioChipLines : public ControlLines
{
    Q_OBJECT
public:
    GpioChipLines(const QString &chip, const LineMap &map, LinePolarity squelchOpenLevel,
                  QObject *parent = nullptr);
    ~GpioChipLines() override;

    bool present() const override { return !m_chipPath.isEmpty(); }
    bool open(const Levels &rest) override;
    void close() override;
    bool isOpen() const override;
    bool setLevel(TxLine line, bool high) override;
    std::optional<bool> squelchHigh() override;
    QString failure() const override { return m_failure; }
    QString deviceName() const override { return m_chipPath; }

    struct Chip
    {
        QString path;
        QString name;
        QString label;
        int lines = 0;
    };
    // The GPIO chips in `devRoot` (gpiochip0, gpiochip1...), with the kernel's name and label.
    static QList<Chip> chips(const QString &devRoot = QStringLiteral("/dev"));

private:
    void fail(const QString &reason);

    struct Handles;
    QString m_chipPath;
    LineMap m_map;
    LinePolarity m_squelchOpenLevel;
    std::unique_ptr<Handles> m_handles;
    QString m_failure;
};
