#pragma once

#include <QObject>

// The bridge's loading of the image property lists, issue log and report, and tagging.
class LibraryLoadingTest : public QObject {
    Q_OBJECT
private slots:
    void emptyPhotoList();
    void listsPlaceholdersAndIssues_data();
    void listsPlaceholdersAndIssues();
    void secondLoadReplacesTheFirst();
    void cancelAtAPhoto_data();
    void cancelAtAPhoto();
    void taggingTwoPhotos();
};
