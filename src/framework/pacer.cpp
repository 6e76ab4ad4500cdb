#include "pacer.h"

int64_t nextDeadline(Pacer& pacer, int64_t nowUs)
{
    int64_t scheduled = pacer.deadlineUs < 0 ? nowUs : pacer.deadlineUs + framePeriodUs;
    pacer.deadlineUs = scheduled > nowUs ? scheduled : nowUs;
    return pacer.deadlineUs;
}

int64_t sleepBeforeDeadline(int64_t deadlineUs, int64_t nowUs)
{
    int64_t left = deadlineUs - nowUs - sleepMarginUs;
    return left > 0 ? left : 0;
}
