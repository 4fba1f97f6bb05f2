#pragma once
// A window's control found by its object name (the form name it keeps), for
// the tests and test programs that reach a control the window does not
// publish. A control that is missing, named twice or of another class stops
// the program with its name and the window's class, so that a renamed
// control never lets a test pass unseen.

#include <QList>
#include <QObject>
#include <QString>
#include <QtGlobal>
#include <memory>

template <class T>
T* Child(const QObject& parent, const char* name) {
    const QList<QObject*> found = parent.findChildren<QObject*>(QString::fromLatin1(name));
    const char* window = parent.metaObject()->className();
    const char* wanted = T::staticMetaObject.className();
    if (found.isEmpty()) qFatal("%s has no control named \"%s\" (%s)", window, name, wanted);
    if (found.size() > 1) qFatal("%s has %d controls named \"%s\"", window, int(found.size()), name);
    T* child = qobject_cast<T*>(found.front());
    if (!child)
        qFatal("%s's control \"%s\" is a %s, not a %s", window, name, found.front()->metaObject()->className(), wanted);
    return child;
}

template <class T>
T* Child(const QObject* parent, const char* name) {
    if (!parent) qFatal("no window to find the control \"%s\" in", name);
    return Child<T>(*parent, name);
}

template <class T, class Window>
T* Child(const std::unique_ptr<Window>& parent, const char* name) {
    return Child<T>(parent.get(), name);
}
