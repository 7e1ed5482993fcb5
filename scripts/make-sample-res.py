#!/usr/bin/env python3
"""Writes a small RES file that looks like a mod's: a few weapons, poses, items,
a VIP item and a map, with Chinese names in GB18030 and ASCII model names. The
second weapon carries seven Part1 and three Part2 entries; the screenshots show
it selected.

Usage: make-sample-res.py OUTPUT.res
"""

import struct
import sys

WEAPON, ITEM, POSE, VIPITEM, MAP = 1, 2, 3, 4, 5

# Part1 Type values that the editor names.
CONTINUED_INFO_MAIN, CONTINUED_INFO_SECOND, MAPPED_TYPE, MUSIC_ID = 1, 2, 11, 12
EF_WHEN_GET, EF_AFTER_GET, GET_ITEM_WHEN_ACTION = 14, 15, 16
# Part2 effectType values that the editor names.
MAX_HP, NOW_HP, ATK, DEFENSE, MOVE_SPEED = 1, 2, 3, 4, 5


def part2(effect_type, type_value, cycle=0, action_type=0):
    """unknown2, unknown3, effectType, cycle, actionType, unknonw6, typeValue,
    unknown8, unknown9, unknown10."""
    return (2, 0, effect_type, cycle, action_type, 0, type_value, 0, 0, 0)


# ObjectType, EntryTypeTypeID, String1 (name), String2 (model), String3 (text),
# Part1 entries (Type, Value1, Value2), Part2 entries.
OBJECTS = [
    (WEAPON, 1001, "玄铁重剑", "wpn_sword_iron", "沉重而锋利的长剑", [(MAPPED_TYPE, 1, 0)], []),
    (WEAPON, 1002, "寒冰枪", "wpn_spear_frost", "枪尖凝霜，击中时减缓敌人", [
        (CONTINUED_INFO_MAIN, 30, 5),
        (CONTINUED_INFO_SECOND, 12, 3),
        (MAPPED_TYPE, 2, 0),
        (MUSIC_ID, 117, 0),
        (EF_WHEN_GET, 4021, 1),
        (EF_AFTER_GET, 4022, 0),
        (GET_ITEM_WHEN_ACTION, 2003, 1),
    ], [
        part2(ATK, 45),
        part2(MOVE_SPEED, -10, cycle=3, action_type=1),
        part2(MAX_HP, 120),
    ]),
    (WEAPON, 1003, "青铜战斧", "wpn_axe_bronze", "", [(MAPPED_TYPE, 3, 0)], [part2(ATK, 30)]),
    (WEAPON, 1004, "追风弓", "wpn_bow_wind", "射程远，出手快", [], [part2(MOVE_SPEED, 5)]),
    (POSE, 3001, "站立", "pose_stand", "", [], []),
    (POSE, 3002, "奔跑", "pose_run", "", [(MUSIC_ID, 201, 0)], []),
    (POSE, 3003, "挥砍", "pose_slash", "", [(MUSIC_ID, 202, 0)], []),
    (ITEM, 2001, "金创药", "itm_potion_red", "恢复少量生命", [], [part2(NOW_HP, 200)]),
    (ITEM, 2002, "回春丹", "itm_pill_green", "持续恢复生命", [], [part2(NOW_HP, 50, cycle=5)]),
    (ITEM, 2003, "铁甲护心", "itm_armor_iron", "", [], [part2(DEFENSE, 25)]),
    (ITEM, 2004, "神行靴", "itm_boots_swift", "", [], [part2(MOVE_SPEED, 15)]),
    (VIPITEM, 4001, "紫金战袍", "vip_robe_gold", "会员专属外观", [(EF_WHEN_GET, 4100, 0)], []),
    (MAP, 5001, "落日城", "map_sunset_city", "", [(MUSIC_ID, 301, 0)], []),
]


def res_string(text):
    """A length that counts the terminating zero byte, then the bytes."""
    data = text.encode("gb18030") + b"\0"
    assert len(data) <= 254, text
    return struct.pack("<i", len(data)) + data


def object_block(object_type, entry_id, name, model, text, part1_entries, part2_entries):
    block = struct.pack("<ii", object_type, entry_id)
    block += res_string(name) + res_string(model) + res_string(text)
    block += struct.pack("<i", len(part1_entries))
    block += b"".join(struct.pack("<3i", *entry) for entry in part1_entries)
    block += struct.pack("<i", len(part2_entries))
    block += b"".join(struct.pack("<10i", *entry) for entry in part2_entries)
    return block


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    # A 60-byte header whose only field the editor reads is the 16-bit object
    # count at byte 52.
    header = bytearray(60)
    struct.pack_into("<h", header, 52, len(OBJECTS))
    with open(sys.argv[1], "wb") as out:
        out.write(header)
        for record in OBJECTS:
            out.write(object_block(*record))


if __name__ == "__main__":
    main()
