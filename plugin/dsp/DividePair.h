#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

/** Two IEEE divisions in one instruction where the processor has one. Division is
    correctly rounded either way, so the results equal n0 / d0 and n1 / d1 exactly. */
inline void dividePair (double n0, double d0, double n1, double d1, double& r0, double& r1) noexcept
{
#if defined(__SSE2__)
    const auto r = _mm_div_pd (_mm_set_pd (n1, n0), _mm_set_pd (d1, d0));
    r0 = _mm_cvtsd_f64 (r);
    r1 = _mm_cvtsd_f64 (_mm_unpackhi_pd (r, r));
#else
    r0 = n0 / d0;
    r1 = n1 / d1;
#endif
}
