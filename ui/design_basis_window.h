#pragma once

// The design basis window: the engineer's deflection limits and the floor
// vibration check, with the live vibration results. Modeless, one instance;
// every accepted change is stored and re-runs the main window's check.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QLocale>
#include <QWidget>

#include "engine/design_basis.h"
#include "engine/joist_design.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;

namespace ui {

class FrmDesignBasis : public QWidget
{
    Q_OBJECT

public:
    using BasisChanged = std::function<void(const joist::DesignBasis&)>;

    // `settings` receives every change the user makes, and nothing else.
    FrmDesignBasis(const joist::DesignBasis& basis, QLocale locale, QSettings& settings,
                   BasisChanged changed, QWidget* parent = nullptr);
    ~FrmDesignBasis() override;

    const joist::DesignBasis& basis() const { return basis_; }

    // Puts a basis in force as if the user had entered it: shown, stored and
    // passed on (a design file opened).
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
    };

    struct Field; // one row of the field table

private:
    void build();
    void fill();
    void onEdited(const Field& field);
    void onFlagToggled();
    void restoreDefaults();
    void accept(const joist::DesignBasis& basis);
    void showMessages();

    joist::DesignBasis basis_;
    QLocale locale_;
    std::string separator_;
    QSettings& settings_;
    BasisChanged changed_;
    bool filling_ = false;

    Fields fields_;
    QCheckBox* vibrationChk_ = nullptr;
    QCheckBox* struttingChk_ = nullptr;
    QPushButton* restoreDefaultsBtn_ = nullptr;
    QLabel* messageLbl_ = nullptr;
    std::array<QLabel*, 8> resultLbls_{};  // f1, w, a, v, v limit, ratios of f1, w, v
    std::array<std::string, 11> problems_; // by field, empty when accepted
};

} // namespace ui
