#include "generic_tx/GpioChipLines.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gpiod.h>

// libgpiod 2 replaced the line handles of 1.x by one request for all lines; both are built
// against, as pkg-config finds them.

namespace {
constexpr const char *Consumer = "ivrelane";

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString openError(const QString &path, int error)
{
    // libgpiod refuses a file that is not a GPIO character device with one of these.
    if (error == ENOTTY || error == ENODEV || error == EINVAL)
        return QStringLiteral("%1 is not a GPIO chip").arg(path);
    return QStringLiteral("Cannot open %1: %2").arg(path, systemError(error));
}
} // namespace

#ifdef IVRELANE_GPIOD_V2

struct GpioChipLines::Handles
{
    gpiod_chip *chip = nullptr;
    gpiod_line_request *request = nullptr;
    ~Handles()
    {
        if (request)
            gpiod_line_request_release(request);
        if (chip)
            gpiod_chip_close(chip);
    }
};

namespace {
int lineCount(gpiod_chip *chip)
{
    gpiod_chip_info *info = gpiod_chip_get_info(chip);
    const int count = info ? int(gpiod_chip_info_get_num_lines(info)) : 0;
    gpiod_chip_info_free(info);
    return count;
}

void addLine(gpiod_line_config *config, unsigned int offset, gpiod_line_direction direction,
             bool high, gpiod_line_bias bias)
{
    gpiod_line_settings *settings = gpiod_line_settings_new();
    gpiod_line_settings_set_direction(settings, direction);
    if (direction == GPIOD_LINE_DIRECTION_OUTPUT)
        gpiod_line_settings_set_output_value(settings, high ? GPIOD_LINE_VALUE_ACTIVE
                                                            : GPIOD_LINE_VALUE_INACTIVE);
    else
        gpiod_line_settings_set_bias(settings, bias);
    gpiod_line_config_add_line_settings(config, &offset, 1, settings);
    gpiod_line_settings_free(settings);
}
} // namespace

#else

struct GpioChipLines::Handles
{
    gpiod_chip *chip = nullptr;
    std::array<gpiod_line *, 4> outputs{};
    gpiod_line *squelch = nullptr;
    // Closing the chip releases its requested lines.
    ~Handles()
    {
        if (chip)
            gpiod_chip_close(chip);
    }
};

namespace {
int lineCount(gpiod_chip *chip)
{
    return int(gpiod_chip_num_lines(chip));
}
} // namespace

#endif

GpioChipLines::GpioChipLines(const QString &chip, const LineMap &map, LinePolarity squelchOpenLevel,
                             QObject *parent)
    : ControlLines(parent), m_chipPath(chip), m_map(map), m_squelchOpenLevel(squelchOpenLevel)
{
}

GpioChipLines::~GpioChipLines() = default;

bool GpioChipLines::isOpen() const
{
    return m_handles != nullptr;
}

void GpioChipLines::close()
{
    m_handles.reset();
}

bool GpioChipLines::open(const Levels &rest)
{
    close();
    auto handles = std::make_unique<Handles>();
    errno = 0;
    handles->chip = gpiod_chip_open(m_chipPath.toLocal8Bit().constData());
    if (!handles->chip) {
        m_failure = openError(m_chipPath, errno);
        return false;
    }
    const int count = lineCount(handles->chip);
    std::array<int, 5> wired{m_map.outputs[0], m_map.outputs[1], m_map.outputs[2], m_map.outputs[3],
                             m_map.squelch};
    for (int offset : wired) {
        if (offset >= count) {
            m_failure = QStringLiteral("%1 has no line %2 (its lines are 0 to %3)")
                            .arg(m_chipPath)
                            .arg(offset)
                            .arg(count - 1);
            return false;
        }
    }
    const bool pullUp = m_squelchOpenLevel == LinePolarity::Negative;
#ifdef IVRELANE_GPIOD_V2
    gpiod_line_config *config = gpiod_line_config_new();
    for (TxLine line : PinLogic::IdleOrder) {
        const int offset = m_map.outputs[std::size_t(line)];
        if (offset >= 0)
            addLine(config, unsigned(offset), GPIOD_LINE_DIRECTION_OUTPUT, rest[std::size_t(line)],
                    GPIOD_LINE_BIAS_AS_IS);
    }
    if (m_map.squelch >= 0)
        addLine(config, unsigned(m_map.squelch), GPIOD_LINE_DIRECTION_INPUT, false,
                pullUp ? GPIOD_LINE_BIAS_PULL_UP : GPIOD_LINE_BIAS_PULL_DOWN);
    gpiod_request_config *request = gpiod_request_config_new();
    gpiod_request_config_set_consumer(request, Consumer);
    handles->request = gpiod_chip_request_lines(handles->chip, request, config);
    const int error = errno;
    gpiod_request_config_free(request);
    gpiod_line_config_free(config);
    if (!handles->request) {
        m_failure = QStringLiteral("Lines of %1 refused: %2").arg(m_chipPath, systemError(error));
        return false;
    }
#else
    for (TxLine line : PinLogic::IdleOrder) {
        const int offset = m_map.outputs[std::size_t(line)];
        if (offset < 0)
            continue;
        gpiod_line *handle = gpiod_chip_get_line(handles->chip, unsigned(offset));
        if (!handle || gpiod_line_request_output(handle, Consumer, rest[std::size_t(line)]) < 0) {
            m_failure = QStringLiteral("Line %1 of %2 refused: %3")
                            .arg(offset)
                            .arg(m_chipPath, systemError(errno));
            return false;
        }
        handles->outputs[std::size_t(line)] = handle;
    }
    if (m_map.squelch >= 0) {
        gpiod_line *handle = gpiod_chip_get_line(handles->chip, unsigned(m_map.squelch));
        const int bias =
            pullUp ? GPIOD_LINE_REQUEST_FLAG_BIAS_PULL_UP : GPIOD_LINE_REQUEST_FLAG_BIAS_PULL_DOWN;
        if (!handle || gpiod_line_request_input_flags(handle, Consumer, bias) < 0) {
            m_failure = QStringLiteral("Line %1 of %2 refused: %3")
                            .arg(m_map.squelch)
                            .arg(m_chipPath, systemError(errno));
            return false;
        }
        handles->squelch = handle;
    }
#endif
    m_handles = std::move(handles);
    m_failure.clear();
    return true;
}

bool GpioChipLines::setLevel(TxLine line, bool high)
{
    const int offset = m_map.outputs[std::size_t(line)];
    if (offset < 0)
        return true;
    if (!m_handles) {
        m_failure = QStringLiteral("%1 not open").arg(m_chipPath);
        return false;
    }
#ifdef IVRELANE_GPIOD_V2
    const int result =
        gpiod_line_request_set_value(m_handles->request, unsigned(offset),
                                     high ? GPIOD_LINE_VALUE_ACTIVE : GPIOD_LINE_VALUE_INACTIVE);
#else
    const int result = gpiod_line_set_value(m_handles->outputs[std::size_t(line)], high ? 1 : 0);
#endif
    if (result < 0) {
        fail(QStringLiteral("%1: %2").arg(m_chipPath, systemError(errno)));
        return false;
    }
    return true;
}

std::optional<bool> GpioChipLines::squelchHigh()
{
    if (!m_handles || m_map.squelch < 0)
        return std::nullopt;
#ifdef IVRELANE_GPIOD_V2
    const int value = gpiod_line_request_get_value(m_handles->request, unsigned(m_map.squelch));
#else
    const int value = gpiod_line_get_value(m_handles->squelch);
#endif
    if (value < 0) {
        fail(QStringLiteral("%1: %2").arg(m_chipPath, systemError(errno)));
        return std::nullopt;
    }
    return value == 1;
}

void GpioChipLines::fail(const QString &reason)
{
    m_failure = reason;
    close();
    emit lost(reason);
}

QList<GpioChipLines::Chip> GpioChipLines::chips(const QString &devRoot)
{
    QList<Chip> found;
    const QDir dir(devRoot);
    QStringList names = dir.entryList({QStringLiteral("gpiochip*")}, QDir::System | QDir::Files);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        gpiod_chip *chip = gpiod_chip_open(path.toLocal8Bit().constData());
        if (!chip)
            continue;
        Chip entry{path, name, QString(), lineCount(chip)};
#ifdef IVRELANE_GPIOD_V2
        if (gpiod_chip_info *info = gpiod_chip_get_info(chip)) {
            entry.name = QString::fromLocal8Bit(gpiod_chip_info_get_name(info));
            entry.label = QString::fromLocal8Bit(gpiod_chip_info_get_label(info));
            gpiod_chip_info_free(info);
        }
#else
        entry.name = QString::fromLocal8Bit(gpiod_chip_name(chip));
        entry.label = QString::fromLocal8Bit(gpiod_chip_label(chip));
#endif
        gpiod_chip_close(chip);
        found << entry;
    }
    return found;
}
