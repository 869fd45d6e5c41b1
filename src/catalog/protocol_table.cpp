#include "protocol_catalog.h"

// The rows of the protocol table arrive with the vehicle catalogs; until then no
// model offers a protocol.
void BuildProtocolEntries(TProtocolCatalog &) {}
