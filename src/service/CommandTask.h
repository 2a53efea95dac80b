#pragma once

#include <QCoreApplication>
#include <QCoroTask>

#include <optional>

// A short command (--reset, --check) is this one task: the application's own event loop carries
// its exchanges until it is done.
namespace CommandTask {

namespace Detail {
template <typename T> QCoro::Task<> keep(QCoro::Task<T> task, std::optional<T> &result)
{
    result = co_await task;
    QCoreApplication::exit(0);
}
} // namespace Detail

template <typename T> T await(QCoro::Task<T> task)
{
    std::optional<T> result;
    Detail::keep(std::move(task), result);
    if (!result)
        QCoreApplication::exec();
    return result.value_or(T());
}

} // namespace CommandTask
