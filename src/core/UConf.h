#pragma once
// The settings window. Other windows read its controls by name; the settings
// file "Tarnel.ini" keeps them between runs.

#include "core/SettingsFile.h"
#include "platform/ui/Controls.h"
#include "platform/ui/MenuItem.h"
#include "platform/ui/Window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <optional>
#include <utility>

class TConfig : public Ui::Window {
    Q_OBJECT
public:
    TConfig();

    QTabWidget *PageControl;

    // ---- "General"
    Ui::MaskEdit *MaskEditC; // own callsign
    Ui::MaskEdit *MaskEditN;
    Ui::MaskEdit *MaskEditQ;
    Ui::MaskEdit *MaskEditLat; // degrees, south negative
    Ui::MaskEdit *MaskEditLon; // degrees, west negative
    Ui::MaskEdit *MaskEditT;   // UTC offset hours
    Ui::MaskEdit *MaskEdit2T;  // UTC offset minutes
    QCheckBox *CheckBoxTim;
    QComboBox *ComboBoxGF; // band
    QComboBox *ComboBoxGM; // mode
    QGroupBox *GroupBoxInfo;

    // ---- "LOG Name"
    Ui::MaskEdit *EditL1, *EditL2, *EditL3;

    // ---- "Grid": fixed entry values ("Add") and log columns (" Log ")
    QGroupBox *GroupBoxAdd;
    QCheckBox *CheckBoxRxRst, *CheckBoxTxRst, *CheckBoxName, *CheckBoxQth, *CheckBoxInfo;
    Ui::MaskEdit *MaskEditRxR, *MaskEditTxR, *EditName, *EditQth, *EditI;
    QGroupBox *GroupBoxLog;
    QCheckBox *CheckBox1D, *CheckBox1T, *CheckBox1B, *CheckBox1M, *CheckBox1N, *CheckBox1Q, *CheckBox1RR,
        *CheckBox1TR, *CheckBox1QS, *CheckBox1QR;

    // ---- "Awards"
    QCheckBox *CBIota, *CBWas, *CBDipA, *CBDipB;
    Ui::RadioGroupBox *RadioGroupInf;
    Ui::MaskEdit *EditDipA, *EditDipB;

    // ---- "Bases"
    QLabel *LabelRep;
    QCheckBox *CheckBoxRep;
    QCheckBox *CheckBoxVCD; // external base enabled
    Ui::MaskEdit *EditVCD;  // its directory
    QCheckBox *CheckBoxVCDA;
    QCheckBox *CheckBoxQRZ, *CheckBoxQRZA;
    QCheckBox *CheckBoxHam, *CheckBoxHamA;

    // ---- "Sound"
    QCheckBox *CheckBoxSound;

    // ---- "Programs": a name and a path each; "C:\" stands for no program
    Ui::MaskEdit *EditPrN1, *EditPrN2, *EditPrN3, *EditPrN4, *EditPrN5, *EditPrN6, *EditPrN8, *EditPrN9;
    Ui::MaskEdit *EditPr1, *EditPr2, *EditPr3, *EditPr4, *EditPr5, *EditPr6, *EditPr8, *EditPr9;

    QPushButton *Button1; // "Save"
    QPushButton *Button2; // "Close"
    QPushButton *Button4; // "Save Exit"
    Ui::MenuItem *HelpCon;

    // The controls' state as the file stores it, and back.
    SettingsFile::Values settingValues() const;
    void setSettingValues(const SettingsFile::Values &values);
    // The program directory (the current one until the data module sets it)
    // and "Tarnel.ini" in it.
    QString programDirectory() const;
    QString settingsPath() const;
    // "Tarnel.ini" as read from disk, for this window and for those that need
    // a setting before this window has read it; nothing when there is none.
    // Throws std::runtime_error when the file is there but cannot be read.
    std::optional<SettingsFile::Reading> fileReading() const;

    // ---- handlers
    void FormShow() override;
    void FormActivate() override;
    void FormClose() override;
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void MaskEditTChange();
    void MaskEdit2TChange();
    void MaskEditTExit();
    void MaskEdit2TExit();
    void CheckBoxVCDClick();
    void HelpConClick();

private:
    void buildGeneral(QWidget *page);
    void buildLogNames(QWidget *page);
    void buildGrid(QWidget *page);
    void buildAwards(QWidget *page);
    void buildBases(QWidget *page);
    void buildSound(QWidget *page);
    void buildPrograms(QWidget *page);
    void connectHandlers();

    // Reads the file when it exists; false when there was none.
    bool readSettings();
    // Writes the file; false (after reporting) when it failed.
    bool save();
    // The steps of the activation, save and close sets.
    void showLogColumns();
    void nameAwards();
    void fixEntryValues(bool ticked);
    void markAutoSave();
    void enableNotepad();
    void setBandAndMode();
    void startClock();
    void showMachineOffset();
    void showPrograms();
    void setMainCaption();
    void nameLogs();
    void pointFixedLabels();
    void clickInfoOption();
    void checkCallbooks();
    bool externalBaseFound() const;
    // Unticks a ticked external base whose directory holds none, with `warning`.
    void refuseMissingBase(const QString &warning);

    // Each stored key with its control.
    QList<std::pair<QString, QWidget *>> stored_;
    bool opening_ = false;
};

// The external base's directory until the settings name another.
QString defaultVcdDirectory();

extern TConfig *Config;
