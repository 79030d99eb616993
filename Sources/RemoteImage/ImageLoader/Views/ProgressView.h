// Builds its content from a download's progress and builds it again on
// every change: the content component receives the initial property
// `progress` (a number from 0 to 1, or undefined while the size is unknown).
// As a RemoteImage placeholder it is handed the wrapper itself:
//
//   RemoteImage {
//       placeholder: ProgressView {
//           width: 40; height: 40
//           content: Item {
//               id: ring
//               required property var progress
//               anchors.fill: parent
//               CircleProgressView { anchors.fill: parent; progress: ring.progress ?? 0 }
//           }
//       }
//   }
#pragma once

#include "RemoteImage/DownloadProgressWrapper.h"
#include "RemoteImage/ImageLoader/Views/CenteredStack.h"

#include <QPointer>
#include <QQmlComponent>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace remoteimage {

class ProgressView : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(remoteimage::DownloadProgressWrapper* downloadProgressWrapper READ downloadProgressWrapper
                   WRITE setDownloadProgressWrapper NOTIFY downloadProgressWrapperChanged)
    Q_PROPERTY(QQmlComponent* content READ content WRITE setContent NOTIFY contentChanged)

public:
    explicit ProgressView(QQuickItem* parent = nullptr);
    ~ProgressView() override;

    DownloadProgressWrapper* downloadProgressWrapper() const { return m_wrapper; }
    void setDownloadProgressWrapper(DownloadProgressWrapper* wrapper);
    QQmlComponent* content() const { return m_content; }
    void setContent(QQmlComponent* content);

signals:
    void downloadProgressWrapperChanged();
    void contentChanged();

protected:
    void componentComplete() override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    void rebuild();

    QPointer<DownloadProgressWrapper> m_wrapper;
    QPointer<QQmlComponent> m_content;
    CenteredStack* const m_stack;
    bool m_complete = false;
};

} // namespace remoteimage
