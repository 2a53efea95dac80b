#include "radio/RadioSelector.h"

void RadioSelector::add(const QString &model, Radio *radio, std::function<void()> choice)
{
    m_backends.append({model, radio, std::move(choice)});
}

bool RadioSelector::choose(const QString &model)
{
    for (const Backend &backend : m_backends) {
        if (backend.model == model && backend.choice) {
            backend.choice();
            return true;
        }
    }
    return false;
}

bool RadioSelector::select(const QString &model)
{
    for (const auto &[name, radio, choice] : m_backends) {
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
        if (!radios.contains(backend.radio))
            radios.append(backend.radio);
    }
    return radios;
}
