#include "measured_params.h"
#include "tmk.h"

TMK::~TMK() = default;

void TMK::RebuildParameters()
{
    m_parameters.clear();
    m_parameters = CreateMeasuredParameters();
}

TMeasParBase *TMK::FindParameter(int number) const
{
    for (const auto &p : m_parameters)
        if (p->ParameterNumber == number)
            return p.get();
    return nullptr;
}
