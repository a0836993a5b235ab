#include "UnavailableStore.h"

#include "ReportError.h"

void UnavailableStore::Fail() const
{
    throw ReportError(ReportError::Kind::Storage, m_reason);
}
