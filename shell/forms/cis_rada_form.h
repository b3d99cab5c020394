#pragma once
// The number-series register "Číselné řady" on the shared table `TableCis_Rada`: the product
// series and the last number each gave out.

#include "register.h"

namespace brix {

class TDataCis;

class TFormulCis_Rada : public RegisterForm {
    Q_OBJECT
public:
    explicit TFormulCis_Rada(TDataCis& dm, QWidget* parent = nullptr);

    static RegisterConfig konfigurace();
    // The list template: "ciselnik\CisRadaSeznZ.pts" while character printing is on.
    static QString sablonaSeznamu();

    EditBox* EditCis_Rada = nullptr;
    EditBox* EditPopis = nullptr;
    EditBox* EditPrvni_Cis = nullptr;
};

} // namespace brix
