/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/ApplicationPicker.h"

#include "bridge/PhotoApplications.h"
#include "platform/UserDefaults.h"
#include "scan/engine/VupMode.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

namespace {

using Kind = PhotoApplications::Kind;
constexpr const char* kCaption = "Photo application:";

std::optional<Kind> remembered() {
    const std::optional<QString> name =
        UserDefaults::standard().stringForKey(QString::fromLatin1(ApplicationPicker::kDefaultsKey));
    return name ? PhotoApplications::kindNamed(*name) : std::nullopt;
}

} // namespace

ApplicationPicker::ApplicationPicker(QBoxLayout* layout, QWidget* parent) : QObject(parent) {
    line = new QWidget(parent);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QString::fromLatin1(kCaption), line);
    choice = new QComboBox(line);
    for (const Kind kind : {Kind::PhotoApp, Kind::Darktable})
        choice->addItem(PhotoApplications::name(kind), int(kind));
    caption->setBuddy(choice);
    version = new QLabel(line);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(caption);
    row->addWidget(choice);
    row->addWidget(version, 1);
    layout->insertWidget(0, line);
    line->hide();
    connect(choice, &QComboBox::currentIndexChanged, this, [this](int index) {
        const Kind kind = Kind(choice->itemData(index).toInt());
        UserDefaults::standard().setString(QString::fromLatin1(kDefaultsKey), PhotoApplications::name(kind));
        if (engine)
            refresh(*engine);
        emit chosen();
    });
}

void ApplicationPicker::refresh(VupMode& vup) {
    engine = &vup;
    const QList<Kind> running = PhotoApplications::running();
    // Both running: the user's last choice, photoapp until there is one.
    const Kind kind =
        PhotoApplications::choose(running, std::nullopt).value_or(remembered().value_or(Kind::PhotoApp));
    vup.useApplication(kind);
    {
        const QSignalBlocker quiet(choice);
        choice->setCurrentIndex(choice->findData(int(kind)));
    }
    choice->setVisible(running.size() > 1);
    const QString product = vup.photoApplicationIsRunning() ? vup.application().productVersion() : QString();
    version->setText(choice->isVisible() ? product : PhotoApplications::name(kind) + u' ' + product);
    line->setVisible(running.contains(Kind::Darktable));
}

void ApplicationPicker::setEnabled(bool enabled) {
    choice->setEnabled(enabled);
}
