#include "radio/RadioSelector.h"

void RadioSelector::add(const QString &model, Radio *radio)
{
    m_backends.append({model, radio});
}

bool RadioSelector::select(const QString &model)
{
    for (const auto &[name, radio] : m_backends) {
        if (name == model) {
            const bool changed = m_current != radio;
            m_current = radio;
            m_currentModel = model;
            if (changed)
                emit currentChanged();
            return true;
        }
    }
    return false;
}

QList<Radio *> RadioSelector::all() const
{
    QList<Radio *> radios;
    for (const auto &backend : m_backends) {
        if (!radios.contains(backend.second))
            radios.append(backend.second);
    }
    return radios;
}
