#pragma once
// The product register as the chooser of the document forms (VyberVyrobek), the quick search
// beside it, and the one chooser service every item entry form is handed.

#include "volba_vyrobku.h"

#include <memory>

namespace brix {

class TDataCis;
class TFormulVyrobky;
class TFormulVyrSQL;

// VyberVyrobek(poNazvu, text): the register as a chooser over the shared products, ordered
// "NazevVyr" and searched in Nazev by name, else searched in the product key ("Obj_Cis" under
// the order-code key, "Kod_Ozn" under the number key); range and filter removed, the rebate
// groups, customs tariff and currencies opened for it when closed. True when a product was
// chosen (it is then current in TableVyr); the caller's order comes back either way.
bool VyberVyrobek(TFormulVyrobky& form, TDataCis& dm, bool poNazvu, const QString& text);

// The quick search of the product form, made with it (a child of the form).
TFormulVyrSQL& FormulVyrSQL(TFormulVyrobky& form, TDataCis& dm);

// The chooser service over the product form and its quick search.
std::unique_ptr<VolbaVyrobku> VolbaVyrobkuFormulari(TFormulVyrobky& form, TDataCis& dm);

} // namespace brix
