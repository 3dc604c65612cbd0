#include "injected_failure.h"

InjectedFailure::InjectedFailure(DurableFile::Step step, int error)
{
    DurableFile::setFailureSeam([steps = m_steps, step, error](DurableFile::Step reached) {
        steps->append(reached);
        return reached == step ? error : 0;
    });
}

InjectedFailure::InjectedFailure()
{
    DurableFile::setFailureSeam([steps = m_steps](DurableFile::Step reached) {
        steps->append(reached);
        return 0;
    });
}

InjectedFailure::~InjectedFailure()
{
    DurableFile::setFailureSeam({});
}
