#include "sestavatyp.h"

#include "formatting.h"
#include "templatefile.h"

#include <algorithm>

namespace brix::report {

// ---- TSestavaTyp -------------------------------------------------------------------------

TSestavaTyp::TSestavaTyp() = default;

TSestavaTyp::~TSestavaTyp() {
    for (TSestDetail* d : details_)
        d->master_ = nullptr;
}

int TSestavaTyp::dataFieldIndex(QStringView name) const {
    for (int i = 0; i < fieldNames.size(); ++i)
        if (fieldNames[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString TSestavaTyp::dataFieldLabel(int index) const {
    return index >= 0 && index < fieldLabels.size() ? fieldLabels[index] : QString();
}

int TSestavaTyp::dataFieldType(int) const {
    return ftUnknown;
}
int TSestavaTyp::dataAlignment(int) const {
    return AlignLeft;
}
int TSestavaTyp::dataDisplayWidth(int) const {
    return 10;
}

QString TSestavaTyp::dataDisplayText(int index) const {
    if (index >= 0 && index < values.size()) return values[index];
    return QStringLiteral("Položka ?");
}

double TSestavaTyp::dataNumber(int) const {
    return 0;
}
bool TSestavaTyp::dataIsNull(int) const {
    return false;
}
QString TSestavaTyp::dataMemoText(int index) const {
    return dataDisplayText(index);
}
QImage TSestavaTyp::dataPicture(int) const {
    return QImage();
}
TStepResult TSestavaTyp::dataStep(TStepDir) {
    return srBegin | srEnd;
}

QString TSestavaTyp::templateDirectory() const {
    return QString();
}

// ---- TSestavaD ---------------------------------------------------------------------------

int TSestavaD::dataFieldCount() const {
    if (eventMode() || !DataSource) return int(fieldNames.size());
    return DataSource->fieldCount();
}

QString TSestavaD::dataFieldName(int index) const {
    if (eventMode() || !DataSource)
        return index >= 0 && index < fieldNames.size() ? fieldNames[index] : QString::number(index);
    return DataSource->fieldName(index);
}

QString TSestavaD::dataFieldLabel(int index) const {
    if (eventMode() || !DataSource) return TSestavaTyp::dataFieldLabel(index);
    return DataSource->fieldLabel(index);
}

int TSestavaD::dataFieldType(int index) const {
    int t = eventMode() || !DataSource ? int(ftString) : DataSource->fieldType(index);
    if (OnGetDataType) OnGetDataType(const_cast<TSestavaD&>(*this), index, t);
    return t;
}

int TSestavaD::dataAlignment(int index) const {
    int a = eventMode() || !DataSource ? int(AlignLeft) : DataSource->alignment(index);
    if (OnGetAlignment) OnGetAlignment(const_cast<TSestavaD&>(*this), index, a);
    return a;
}

int TSestavaD::dataDisplayWidth(int index) const {
    if (eventMode() || !DataSource) return 10;
    return DataSource->displayWidth(index);
}

QString TSestavaD::dataDisplayText(int index) const {
    if (eventMode() || !DataSource) return TSestavaTyp::dataDisplayText(index);
    if (index < 0 || index >= DataSource->fieldCount()) return QString();
    return DataSource->displayText(index);
}

double TSestavaD::dataNumber(int index) const {
    if (eventMode() || !DataSource)
        return index >= 0 && index < values.size() ? lenientNumber(values[index]) : 0.0;
    if (index < 0 || index >= DataSource->fieldCount()) return 0;
    return DataSource->number(index);
}

bool TSestavaD::dataIsNull(int index) const {
    if (eventMode() || !DataSource) return false;
    if (index < 0 || index >= DataSource->fieldCount()) return false;
    return DataSource->isNull(index);
}

QString TSestavaD::dataMemoText(int index) const {
    if (eventMode() || !DataSource) return dataDisplayText(index);
    if (index < 0 || index >= DataSource->fieldCount()) return QString();
    return DataSource->memoText(index);
}

QImage TSestavaD::dataPicture(int index) const {
    if (eventMode() || !DataSource) return QImage();
    if (index < 0 || index >= DataSource->fieldCount()) return QImage();
    return DataSource->picture(index);
}

TStepResult TSestavaD::dataStep(TStepDir dir) {
    TStepResult r = srBegin | srEnd;
    if (OnStepData)
        r = OnStepData(*this, dir);
    else if (DataSource && !eventMode())
        r = DataSource->step(dir);
    getData();
    return r;
}

void TSestavaD::getData() {
    if (OnGetData) OnGetData(*this);
}

void TSestavaD::takeFieldNames() {
    if (!eventMode() && DataSource) {
        fieldNames.clear();
        fieldLabels.clear();
        for (int i = 0; i < DataSource->fieldCount(); ++i) {
            fieldNames << DataSource->fieldName(i);
            fieldLabels << DataSource->fieldLabel(i);
        }
    }
    for (TSestDetail* d : details_)
        d->takeFieldNames();
}

void TSestavaD::closeOpenedTables() {
    if (openedByReport_ && DataSource) DataSource->close();
    openedByReport_ = false;
    for (TSestDetail* d : details_)
        d->closeOpenedTables();
}

// ---- TSestDetail -------------------------------------------------------------------------

TSestDetail::~TSestDetail() {
    setMasterSestava(nullptr);
}

void TSestDetail::setMasterSestava(TSestavaTyp* master) {
    if (master_) {
        auto& list = master_->details_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    master_ = master;
    if (master_) master_->details_.push_back(this);
}

void TSestDetail::loadLines(const TPredloha& lines) {
    definition.isDetail = true;
    loadDefinition(definition, lines, &fieldNames);
    if (!definition.description.isEmpty()) Popis = definition.description;
    // A detail inside this detail takes its lines from this detail's own "D" lines.
    for (size_t i = 0; i < details_.size(); ++i)
        details_[i]->loadLines(definition.detailTemplates.value(int(i)));
}

TPredloha TSestavaTyp::linesWithDetails() {
    for (size_t i = 0; i < details_.size(); ++i)
        definition.detailTemplates[int(i)] = details_[i]->linesWithDetails();
    return saveDefinition(definition);
}

QString TSestDetail::templateDirectory() const {
    return master_ ? master_->templateDirectory() : QString();
}

} // namespace brix::report
