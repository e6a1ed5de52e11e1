# Tariff calculator for the harbour office: a code listing that a2ps
# prints with its pretty-printer (keywords in bold, comments in
# italic) for the test-PDF kit.
# Déjà vu: the rates below date from 2019.

BERTH_RATE = 12.75      # euros per metre and day
PILOT_FEE = 380.00


def harbour_dues(length_m, days, pilot=False):
    """Returns the dues for one visit."""
    total = length_m * days * BERTH_RATE
    if pilot:
        total += PILOT_FEE
    return round(total, 2)


for vessel, length, stay in [("Aurora", 86.5, 3), ("Kestrel", 41.0, 7)]:
    print(vessel, harbour_dues(length, stay, pilot=length > 50))
