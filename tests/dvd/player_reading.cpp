#include "player_reading.h"

#include <gtest/gtest.h>

#include <dvdnav/dvdnav.h>

#include <QFile>

#include <vector>

namespace marvoxa::test {

namespace {

// Gathers the units of each sub-stream from the private stream 1 packets of a pack.
class UnitAssembly {
public:
    explicit UnitAssembly(QList<PlayedUnit>& units) : units_(units) {}

    void add(const uchar* pack) {
        int at = 14 + (pack[13] & 7);
        while (at + 9 <= 2048 && pack[at] == 0 && pack[at + 1] == 0 && pack[at + 2] == 1) {
            const int end = at + 6 + (pack[at + 4] << 8 | pack[at + 5]);
            if (end > 2048) {
                return;
            }
            const int payload = at + 9 + pack[at + 8];
            if (pack[at + 3] == 0xbd && payload < end && (pack[at + 6] & 0xc0) == 0x80 &&
                pack[payload] >= 0x20 && pack[payload] < 0x40) {
                const int id = pack[payload];
                const QByteArray data(reinterpret_cast<const char*>(pack) + payload + 1,
                                      end - payload - 1);
                Pending& pending = pending_[id - 0x20];
                if ((pack[at + 7] & 0x80) != 0) {
                    const uchar* p = pack + at + 9;
                    const qint64 pts = qint64{p[0] & 0x0e} << 29 | qint64{p[1]} << 22 |
                                       qint64{p[2] & 0xfe} << 14 | qint64{p[3]} << 7 | p[4] >> 1;
                    pending = Pending{{id, pts, data}};
                } else if (pending.unit.subStreamId != 0) {
                    pending.unit.unit += data;
                }
                const QByteArray& bytes = pending.unit.unit;
                if (pending.unit.subStreamId != 0 && bytes.size() >= 2 &&
                    bytes.size() >=
                        (static_cast<uchar>(bytes[0]) << 8 | static_cast<uchar>(bytes[1]))) {
                    units_.append(pending.unit);
                    pending = Pending{};
                }
            }
            at = end;
        }
    }

private:
    struct Pending {
        PlayedUnit unit;
    };
    QList<PlayedUnit>& units_;
    std::array<Pending, 32> pending_{};
};

}  // namespace

PlayedTitle PlayTitle(const QString& root, int title) {
    PlayedTitle played;
    dvdnav_t* nav = nullptr;
    if (dvdnav_open(&nav, QFile::encodeName(root).constData()) != DVDNAV_STATUS_OK) {
        ADD_FAILURE() << "libdvdnav cannot open " << root.toStdString();
        return played;
    }
    dvdnav_set_PGC_positioning_flag(nav, 1);
    EXPECT_EQ(dvdnav_title_play(nav, title), DVDNAV_STATUS_OK) << dvdnav_err_to_string(nav);
    UnitAssembly assembly(played.units);
    std::vector<uint8_t> block(DVD_VIDEO_LB_LEN);
    bool started = false;
    for (int blocks = 0; blocks < 2000000; ++blocks) {
        int32_t event = 0;
        int32_t length = 0;
        if (dvdnav_get_next_block(nav, block.data(), &event, &length) != DVDNAV_STATUS_OK) {
            ADD_FAILURE() << dvdnav_err_to_string(nav);
            break;
        }
        if (event == DVDNAV_STOP) {
            break;
        }
        if (event == DVDNAV_STILL_FRAME) {
            dvdnav_still_skip(nav);
        } else if (event == DVDNAV_WAIT) {
            dvdnav_wait_skip(nav);
        } else if (event == DVDNAV_SPU_CLUT_CHANGE && !played.palette) {
            std::array<quint32, 16> palette{};
            std::memcpy(palette.data(), block.data(), sizeof palette);
            played.palette = palette;
        } else if (event == DVDNAV_CELL_CHANGE) {
            int32_t current = 0;
            int32_t part = 0;
            dvdnav_current_title_info(nav, &current, &part);
            if (current != title) {
                break;  // the title has ended
            }
        } else if (event == DVDNAV_NAV_PACKET && !started) {
            played.startPtm = dvdnav_get_current_nav_pci(nav)->pci_gi.vobu_s_ptm;
            started = true;
        } else if (event == DVDNAV_BLOCK_OK) {
            assembly.add(block.data());
        }
    }
    dvdnav_close(nav);
    return played;
}

UnitColours ColoursOf(const QByteArray& unit) {
    const auto byte = [&](qsizetype at) { return static_cast<uchar>(unit.at(at)); };
    const qsizetype sequence = byte(2) << 8 | byte(3);
    for (qsizetype at = sequence + 4; at + 2 < unit.size() && byte(at) != 0xff; ++at) {
        if (byte(at) == 0x03) {
            // Entries of pixel values 3 and 2, then 1 and 0: text is 1, outline 2.
            return {byte(at + 2) >> 4, byte(at + 1) & 15};
        }
    }
    return {};
}

}  // namespace marvoxa::test
