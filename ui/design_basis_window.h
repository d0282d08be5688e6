#pragma once

// The design basis window: the engineer's deflection limits, the imposed
// load, the floor vibration check with its live results, and the rules,
// table and sizes. Modeless, one instance;
// every accepted change is a change to the design in force and re-runs the
// main window's check. Only "Use as Default for New Designs" keeps anything.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QLocale>
#include <QWidget>

#include "engine/design_basis.h"
#include "engine/joist_design.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace document {
class SettingsFile;
}

namespace ui {

class FrmDesignBasis : public QWidget
{
    Q_OBJECT

public:
    using BasisChanged = std::function<void(const joist::DesignBasis&)>;

    // Shows `basis`, the one in force; `settings` receives the defaults for
    // new designs when the user asks, and nothing else.
    FrmDesignBasis(const joist::DesignBasis& basis, QLocale locale,
                   document::SettingsFile& settings, BasisChanged changed,
                   QWidget* parent = nullptr);
    ~FrmDesignBasis() override;

    const joist::DesignBasis& basis() const { return basis_; }

    // Puts a basis in force as if the user had entered it: shown and passed
    // on (a design opened or begun). Nothing is stored.
    void applyBasis(const joist::DesignBasis& basis);

    // The vibration values of the last completed check, or dashes when the
    // check had no vibration or the results are out of date.
    void showResults(const std::optional<joist::JoistDesign>& checked);

    // The text fields, in the order of the field table.
    struct Fields
    {
        QLineEdit* u2DivTxt = nullptr;
        QLineEdit* u2FinDivTxt = nullptr;
        QLineEdit* uNetFinDivTxt = nullptr;
        QLineEdit* u2CapTxt = nullptr;
        QLineEdit* u2FinCapTxt = nullptr;
        QLineEdit* uNetFinCapTxt = nullptr;
        QLineEdit* floorWidthTxt = nullptr;
        QLineEdit* deckThicknessTxt = nullptr;
        QLineEdit* deckModulusTxt = nullptr;
        QLineEdit* dampingTxt = nullptr;
        QLineEdit* kampTxt = nullptr;
        QLineEdit* vibrationATxt = nullptr;
        QLineEdit* vibrationBTxt = nullptr;
        QLineEdit* kcrTxt = nullptr;
        QLineEdit* endDistanceTxt = nullptr;
        QLineEdit* partitionsTxt = nullptr;
        QLineEdit* pointLoadTxt = nullptr;
        QLineEdit* pointShareTxt = nullptr;
    };

    struct Field; // one row of the field table
    // The box a field stands in.
    enum class FieldGroup {
        deflectionLimits,
        imposedLoad,
        pointLoad,
        floorVibration,
        shearAndBearing,
    };

signals:
    // The basis in force is now the default for new designs, not yet written
    // to the settings file.
    void defaultsStored();

private:
    void build();
    void fill();
    void onEdited(const Field& field);
    void onFlagToggled();
    void onChoicePicked();
    void enableVibrationLimits();
    void showPartitionBand(const QString& allowance);
    void restoreDefaults();
    void useAsDefault();
    void showDefaultState();
    void accept(const joist::DesignBasis& basis);
    void showMessages();

    joist::DesignBasis basis_;
    QLocale locale_;
    std::string separator_;
    document::SettingsFile& settings_;
    BasisChanged changed_;
    bool filling_ = false;

    Fields fields_;
    QCheckBox* vibrationChk_ = nullptr;
    QCheckBox* struttingChk_ = nullptr;
    QCheckBox* pointLoadChk_ = nullptr;
    QComboBox* vibrationRulesCmb_ = nullptr;
    QComboBox* rulesCmb_ = nullptr;
    QComboBox* tableCmb_ = nullptr;
    QComboBox* sizesCmb_ = nullptr;
    QComboBox* serviceClassCmb_ = nullptr;
    QComboBox* categoryCmb_ = nullptr;
    QComboBox* partitionBandCmb_ = nullptr; // the allowances of EN 1991-1-1, beside the typed one
    QPushButton* restoreDefaultsBtn_ = nullptr; // the program's defaults, for this design
    QPushButton* useAsDefaultBtn_ = nullptr;
    QLabel* messageLbl_ = nullptr;
    std::array<QLabel*, 9> resultLbls_{}; // f1, w, a, b, v, v limit, ratios of f1, w, v
    std::vector<std::string> problems_;   // by field, empty when accepted
};

} // namespace ui
