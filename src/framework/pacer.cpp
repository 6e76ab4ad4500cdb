#include "pacer.h"

#include <algorithm>

int64_t frameDeadline(const Pacer& pacer, int64_t nowUs)
{
    if (pacer.frameEndUs < 0)
        return nowUs;
    int64_t scheduled = pacer.frameEndUs + framePeriodUs;
    return scheduled > nowUs ? scheduled : nowUs;
}

void frameEnded(Pacer& pacer, int64_t deadlineUs, int64_t nowUs)
{
    pacer.frameEndUs = nowUs - deadlineUs < wakeSlackUs ? deadlineUs : nowUs;
}

int64_t frameEndLag(int64_t lastFrameEndLagUs, int64_t arrivalLagUs)
{
    return std::min(lagCapUs, std::max(lastFrameEndLagUs - lagEaseUs, arrivalLagUs));
}
