#include "radio/RadioSelector.h"

#include "radio/Radio.h"

void RadioSelector::add(const QString &model, Radio *radio, std::function<void()> activate)
{
    m_backends.append({model, radio, std::move(activate)});
}

const RadioSelector::Backend *RadioSelector::find(const QString &model) const
{
    for (const Backend &backend : m_backends) {
        if (backend.model == model)
            return &backend;
    }
    return nullptr;
}

bool RadioSelector::choose(const QString &model)
{
    const Backend *backend = find(model);
    if (backend == nullptr || !select(model))
        return false;
    if (backend->activate)
        backend->activate();
    backend->radio->open();
    return true;
}

bool RadioSelector::changesRadio(const QString &model) const
{
    const Backend *backend = find(model);
    return m_releasing ||
           (backend != nullptr && m_current != nullptr && m_current != backend->radio);
}

QCoro::Task<> RadioSelector::changeTo(QString model)
{
    m_asked = model;
    // The release under way takes the newest choice when it is over.
    if (m_releasing)
        co_return;
    if (!changesRadio(model)) {
        choose(model);
        co_return;
    }
    m_releasing = true;
    const int generation = m_generation;
    co_await m_current->release();
    m_releasing = false;
    if (generation == m_generation)
        choose(m_asked);
}

bool RadioSelector::select(const QString &model)
{
    const Backend *backend = find(model);
    if (backend == nullptr)
        return false;
    const bool changed = m_current != backend->radio || m_currentModel != model;
    if (m_current != nullptr)
        m_current->m_inUse = false;
    m_current = backend->radio;
    m_current->m_inUse = true;
    m_currentModel = model;
    m_current->modelChosen(model);
    if (changed)
        emit currentChanged();
    return true;
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
