#include "Deliverable.h"

#include "BankKey.h"

namespace study {

const Deliverable& quenvik()
{
    static const Deliverable d{QStringLiteral("Quenvik"),
                               QStringLiteral("\\hc.dll;jet oledb:database password=" BANK_PASSWORD),
                               {{1, 30}, {2, 30}, {3, 25}, {4, 10}, {5, 5}},
                               5,
                               0x80FF,
                               3070,
                               QStringLiteral(":/background_quenvik.rgb32")};
    return d;
}

const Deliverable& lodrasse()
{
    static const Deliverable d{QStringLiteral("Lodrasse"),
                               QStringLiteral("\\kc.dll;jet oledb:database password=" BANK_PASSWORD),
                               {{1, 30}, {2, 30}, {3, 25}, {4, 10}, {5, 5}},
                               5,
                               0x80FF,
                               3070,
                               QStringLiteral(":/background_lodrasse.rgb32")};
    return d;
}

const Deliverable& penmaro()
{
    static const Deliverable d{QStringLiteral("Penmaro"),
                               QStringLiteral("\\in.dll;jet oledb:database password=" BANK_PASSWORD),
                               {{1, 30}, {2, 30}, {3, 25}, {4, 15}},
                               4,
                               0x8000,
                               3090,
                               QStringLiteral(":/background_penmaro.rgb32")};
    return d;
}

} // namespace study
