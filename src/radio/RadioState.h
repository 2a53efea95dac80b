#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

// What the radio does and what it accepts now, as the windows show it. The backends write it;
// the panel paints from it, and the rules of the Radio front read it, so a request the panel
// would not take (a band the band choice leaves out, a panel waiting for the initialisation)
// is refused in code rather than by a disabled button.
class RadioState : public QObject
{
    Q_OBJECT
public:
    // The band's lamps: none lit, VFO or MEM.
    enum class Mode { None, Vfo, Memory };

    struct Band
    {
        bool selectable = true; // band, VFO and memory buttons
        bool memoryAvailable = true;
        bool scanAvailable = false;
        bool scanning = false;
        bool powerAvailable = true;
        QString vfoText;    // the VFO display: "F=145.225000 shift=0"
        QString memoryText; // the memory display: a memory-list entry
        Mode mode = Mode::None;
        int power = 1; // 0 high, 1 medium, 2 low
    };

    bool keyed() const { return m_keyed; }
    // The panel takes operations (initialised radio, not waiting for an answer).
    bool panelEnabled() const { return m_panelEnabled; }
    bool transmitAvailable() const { return m_transmitAvailable; }
    const Band &band(int band) const { return m_bands[index(band)]; }
    // The memory list as the radio gave it ("015=145.600000 shift=0" ...), and the entry chosen
    // in it (-1: none).
    const QStringList &memories() const { return m_memories; }
    int currentMemory() const { return m_currentMemory; }
    // The chosen entry's text; empty when none is chosen.
    QString currentMemoryText() const;
    // The first entry of a three-digit channel ("015"), or -1.
    int memoryIndex(const QString &channel) const;
    // The band whose transmit lamp is lit; -1 for none.
    int transmitBand() const { return m_transmitBand; }

    // The panel's title (the radio's name); empty leaves the panel's own.
    const QString &title() const { return m_title; }
    // The model as the window's title names it ("TMD710 ", "Hamlib "), with its trailing blank.
    const QString &modelLabel() const { return m_modelLabel; }
    // The memory list can be opened (a radio with memories it can recall).
    bool memoryListAvailable() const { return m_memoryListAvailable; }
    // Where the radio is reached, as the operator configured it ("/dev/ttyUSB0", "LPT 0378h").
    const QString &portName() const { return m_portName; }

    void setKeyed(bool keyed);
    void setPortName(const QString &name) { m_portName = name; }
    void setTitle(const QString &title);
    void setModelLabel(const QString &label);
    void setMemoryListAvailable(bool available);
    // The station's radio status (answering, initialised...) changed: its line is redrawn.
    void announceRigStatus() { emit rigStatusChanged(); }
    void setPanelEnabled(bool enabled);
    void setTransmitAvailable(bool available);
    void setBandSelectable(int band, bool selectable);
    void setMemoryAvailable(int band, bool available);
    void setScanAvailable(int band, bool available);
    void setScanning(int band, bool scanning);
    void setPowerAvailable(int band, bool available);
    void setVfoText(int band, const QString &text);
    void setMemoryText(int band, const QString &text);
    // The four displays empty.
    void clearDisplays();
    // A new list, with no entry chosen.
    void setMemories(const QStringList &entries);
    // The list's entries changed in place or grew: the chosen entry stays, and a list that was
    // empty has its first entry chosen.
    void updateMemories(const QStringList &entries);
    void setCurrentMemory(int index);
    void setMode(int band, Mode mode);
    void setPower(int band, int position);
    void setTransmitBand(int band);
    // The six lamps off.
    void resetLamps();

    // A band operation the panel would take now.
    bool acceptsBandOperation(int band) const;

signals:
    // Anything above changed; the windows repaint.
    void changed();
    // Emitted after changed() when the keying changed, whoever keyed or unkeyed.
    void keyedChanged(bool keyed);
    void rigStatusChanged();

private:
    static int index(int band) { return band == 1 ? 1 : 0; }
    template <typename T> void update(T &field, const T &value);

    bool m_keyed = false;
    bool m_panelEnabled = true;
    bool m_transmitAvailable = true;
    int m_transmitBand = -1;
    QString m_portName;
    QString m_title;
    QString m_modelLabel;
    bool m_memoryListAvailable = true;
    QStringList m_memories;
    int m_currentMemory = -1;
    std::array<Band, 2> m_bands;
};
