#include "link/StateEvents.h"

StateEvents::StateEvents(QObject* parent) : QObject(parent) {}

StateEvents::Effect StateEvents::apply(const EventRecord& r)
{
    switch (r.sub) {
    case 2:
        return applyLine(r);
    case 3:
        return setLamp(r.p1, RingColumn, r.p3 == 1);
    case 4: {
        Effect effect;
        if (r.p3 == 1) {
            effect = setLamp(r.p1, 0, true);
        } else if (validExtension(r.p1)) {
            for (int column = 0; column < Columns; ++column)
                setLamp(r.p1, column, false);
            effect.kind = Effect::Kind::AllLampsOff;
            effect.extension = r.p1;
        }
        if (validExtension(r.p1)) {
            Q_EMIT callDurationStopped(r.p1);
            setDisplay(r.p1, QString());
        }
        return effect;
    }
    case 5:
        return applyDigit(r.p1, r.p3);
    case 6: {
        if (r.p1 != 0 && r.p1 != 1)
            return {};
        const int owner = m_trunkOwners[static_cast<std::size_t>(r.p1)];
        if (owner < 1 || owner > Extensions::Max)
            return {};
        return applyDigit(owner - 1, r.p3);
    }
    default:
        return {};
    }
}

// Sub 2: column value v, extension e; v 0/1 are the trunk lamps, v 2/3 the internal links that
// show the end of dialling.
StateEvents::Effect StateEvents::applyLine(const EventRecord& r)
{
    const int v = r.p1, e = r.p2;
    const bool on = r.p3 == 1;
    if (v < 2 && r.p3 == 0)
        Q_EMIT trunkReleased();
    // Only a valid extension switching the link on owns the trunk; a corrupt record frees it.
    if (v == 2 || v == 3)
        m_trunkOwners[static_cast<std::size_t>(v - 2)] = on && validExtension(e) ? e + 1 : 0;
    const Effect effect = setLamp(e, v + 1, on);
    if ((v == 2 || v == 3) && r.p3 == 0 && m_digitsDialled && m_monitoring && validExtension(e) &&
        m_displays[static_cast<std::size_t>(e)].size() > 1) {
        m_digitsDialled = false;
        Q_EMIT outgoingCallBegins(e, m_displays[static_cast<std::size_t>(e)]);
    }
    return effect;
}

StateEvents::Effect StateEvents::applyDigit(int extension, int code)
{
    if (!validExtension(extension) || code < 1 || code > 10)
        return {};
    QString text = m_displays[static_cast<std::size_t>(extension)] + QString::number(code % 10);
    const bool spontaneous = !m_spontaneous || m_spontaneous(extension);
    if (!spontaneous && text == QLatin1String("0"))
        text = QStringLiteral("0-");
    setDisplay(extension, text);
    m_digitsDialled = true;
    Effect effect;
    effect.kind = Effect::Kind::Digit;
    effect.extension = extension;
    effect.display = text;
    return effect;
}

StateEvents::Effect StateEvents::setLamp(int extension, int column, bool on)
{
    if (!validExtension(extension) || column < 0 || column >= Columns)
        return {};
    bool& lampState = m_lamps[static_cast<std::size_t>(extension)][static_cast<std::size_t>(column)];
    if (lampState != on) {
        lampState = on;
        Q_EMIT lampChanged(extension, column, on);
    }
    Effect effect;
    effect.kind = Effect::Kind::Lamp;
    effect.extension = extension;
    effect.column = column;
    effect.on = on;
    return effect;
}

void StateEvents::setDisplay(int extension, const QString& text)
{
    QString& current = m_displays[static_cast<std::size_t>(extension)];
    if (current == text)
        return;
    current = text;
    Q_EMIT displayChanged(extension, text);
}

bool StateEvents::lamp(int extension, int column) const
{
    if (!validExtension(extension) || column < 0 || column >= Columns)
        return false;
    return m_lamps[static_cast<std::size_t>(extension)][static_cast<std::size_t>(column)];
}

QString StateEvents::display(int extension) const
{
    return validExtension(extension) ? m_displays[static_cast<std::size_t>(extension)] : QString();
}

int StateEvents::trunkOwner(int channel) const
{
    return channel == 0 || channel == 1 ? m_trunkOwners[static_cast<std::size_t>(channel)] : 0;
}

void StateEvents::setSpontaneousTrunkAccess(std::function<bool(int)> query)
{
    m_spontaneous = std::move(query);
}
