#pragma once

#include "common/durable_file.h"

#include <QList>

#include <cerrno>
#include <memory>

// Makes the durable writes of this test fail at one step, with one error,
// every time that step is reached; notes every step reached. Cleared when it
// goes out of scope.
class InjectedFailure
{
public:
    explicit InjectedFailure(DurableFile::Step step, int error = ENOSPC);
    // Fails nothing; only notes the steps.
    InjectedFailure();
    ~InjectedFailure();
    InjectedFailure(const InjectedFailure &) = delete;
    InjectedFailure &operator=(const InjectedFailure &) = delete;

    // The steps reached, in order.
    QList<DurableFile::Step> steps() const { return *m_steps; }

private:
    std::shared_ptr<QList<DurableFile::Step>> m_steps =
        std::make_shared<QList<DurableFile::Step>>();
};
