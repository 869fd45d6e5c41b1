#include "measured_params.h"
#include "tmk.h"

// The measured parameters arrive with the vehicle catalogs; until then the
// model holds none.
TMK::~TMK() = default;

void TMK::RebuildParameters() { m_parameters.clear(); }

TMeasParBase *TMK::FindParameter(int number) const
{
    (void)number;
    return nullptr;
}
