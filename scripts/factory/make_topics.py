#!/usr/bin/env python3
"""Factory topic lists and judgement texts: writes into data/Options/

  C11.box             who asks (at most 10 lines; line 0 the querent himself)
  C12.box + S12.box   whose affairs: the querent's categories and the house
                      offsets of the persons they name (0 = the first house)
  C13.box + S13.box   the twelve derived-house sub-categories (offsets added
                      to the category's house)
  C21.box + S21.box   question topics and their houses 0..11
  *.txt               the house help and descriptions, the radicality texts
                      and the completion texts, from texts/<name>.utf8.txt

Every file is code page 1251, one entry per line, each line ended by CR LF,
no header. In a C/S pair line i of the S file is the house of line i of the C
file, so both are written from one list of (text, house) pairs and cannot
drift apart.

Sources: the house significations of William Lilly, Christian Astrology
(London 1647), book I, chapters on the twelve houses, and the derived-house
practice of the same book (the house of a person counted from the house of
the person he belongs to: the querent's friend's child is the fifth from the
eleventh). The texts are original Russian prose written after Lilly's
Christian Astrology and Guido Bonatti's Considerations as printed in Lilly's
Anima Astrologiae (London 1676); both books are in the public domain.

Standard library only. Run from anywhere:  python3 scripts/factory/make_topics.py
"""

import os
import sys

from make_langh import write_atomic

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
OPTIONS = os.path.join(ROOT, "data", "Options")
TEXTS = os.path.join(HERE, "texts")
ENCODING = "cp1251"

# Who asks. The database packs the index as one digit, so ten lines at most;
# line 0 is the querent asking about himself (the radicality test of Saturn in
# the seventh house keys on it).
WHO_ASKS = [
    "Кверент спрашивает сам о себе",
    "Кверент спрашивает о другом человеке",
    "Вопрос задан по просьбе отсутствующего",
    "Вопрос задан письмом или через посредника",
    "Астролог спрашивает для себя",
    "Вопрос о событии, не касающемся кверента",
]

# Whose affairs: the person the question belongs to, with the house that
# signifies him counted from the querent's first house (offset 0..11).
CATEGORIES = [
    ("Свои дела", 0),
    ("Брат или сестра", 2),
    ("Сосед", 2),
    ("Родственник (кузен, дальняя родня)", 2),
    ("Отец", 3),
    ("Тесть или свекор (отец супруга)", 9),
    ("Ребенок (сын, дочь)", 4),
    ("Внук или внучка", 8),
    ("Зять или невестка (супруг ребенка)", 10),
    ("Слуга, работник, подчиненный", 5),
    ("Дядя или тетя по отцу", 5),
    ("Супруг или супруга", 6),
    ("Возлюбленный, невеста, жених", 6),
    ("Деловой партнер, компаньон", 6),
    ("Открытый враг, противник в суде", 6),
    ("Вор (когда он неизвестен)", 6),
    ("Врач больного кверента", 6),
    ("Брат или сестра супруга", 8),
    ("Священник, учитель, наставник", 8),
    ("Мать", 9),
    ("Начальник, господин, работодатель", 9),
    ("Правитель, судья, власть", 9),
    ("Друг", 10),
    ("Покровитель, советник", 10),
    ("Тайный враг, недоброжелатель", 11),
    ("Брат или сестра матери", 11),
]

# About whom or what of that person: the derived houses, counted from the
# category's house.
SUBCATEGORIES = [
    ("его (ее) собственная личность и здоровье", 0),
    ("его деньги и имущество", 1),
    ("его братья, сестры, соседи, короткие поездки", 2),
    ("его отец, дом, земля, конец дела", 3),
    ("его дети, удовольствия, вести", 4),
    ("его болезнь, слуги, мелкий скот", 5),
    ("его брак, партнер, открытый враг", 6),
    ("его смерть, наследство, деньги партнера", 7),
    ("его дальние поездки, учеба, вера", 8),
    ("его карьера, мать, начальник", 9),
    ("его друзья, надежды, покровители", 10),
    ("его тайные враги, заключение, крупный скот", 11),
]

# Question topics with the quesited's house 0..11, after Lilly's
# significations of the twelve houses.
TOPICS = [
    # first house
    ("Жизнь, здоровье и телесный склад кверента", 0),
    ("Каков будет исход дела для самого кверента", 0),
    ("Проживет ли кверент долго", 0),
    ("Где лучше жить кверенту", 0),
    ("Корабль и его судьба (о самом судне)", 0),
    # second house
    ("Станет ли кверент богатым", 1),
    ("Получит ли кверент деньги", 1),
    ("Вернут ли кверенту долг", 1),
    ("Имущество и движимое добро кверента", 1),
    ("Прибыль от торговли или ремесла", 1),
    ("Выгодна ли покупка", 1),
    ("Заработок, жалованье", 1),
    ("Потерянная вещь, принадлежащая кверенту", 1),
    ("Союзники и помощники в суде", 1),
    # third house
    ("Братья и сестры: их жизнь и отношения с ними", 2),
    ("Соседи и согласие с ними", 2),
    ("Короткая поездка: удачна ли она", 2),
    ("Правдивы ли слухи и вести", 2),
    ("Письма, записки, сообщения", 2),
    ("Посыльный, курьер", 2),
    ("Учеба, начальное обучение", 2),
    # fourth house
    ("Отец: его жизнь и дела", 3),
    ("Покупка дома или земли", 3),
    ("Продажа дома или земли", 3),
    ("Аренда земли, сада, усадьбы", 3),
    ("Клад, спрятанное сокровище", 3),
    ("Переезд, смена жилья", 3),
    ("Найдется ли вещь, потерянная в доме", 3),
    ("Наследство от отца", 3),
    ("Чем кончится дело", 3),
    ("Город, крепость в осаде (о месте)", 3),
    # fifth house
    ("Будут ли у кверента дети", 4),
    ("Беременна ли женщина", 4),
    ("Мальчик или девочка", 4),
    ("Дети: их здоровье и судьба", 4),
    ("Вести и письма издалека", 4),
    ("Удовольствия, праздники, развлечения", 4),
    ("Игра, пари, выигрыш", 4),
    ("Любовное приключение, ухаживание", 4),
    ("Посол, посланник: успешна ли миссия", 4),
    ("Доход отца", 4),
    # sixth house
    ("Болезнь: ее причина и исход", 5),
    ("Излечима ли болезнь", 5),
    ("Подходит ли лечение", 5),
    ("Слуги, работники: верны ли они", 5),
    ("Наем работника", 5),
    ("Мелкий скот, домашние животные", 5),
    ("Пропавшее домашнее животное", 5),
    ("Дядя и тетя по отцу", 5),
    ("Служба, повседневная работа", 5),
    # seventh house
    ("Брак: состоится ли", 6),
    ("Будет ли брак счастливым", 6),
    ("Любит ли меня этот человек", 6),
    ("Вернется ли ушедший супруг", 6),
    ("Развод, разлука", 6),
    ("Деловое партнерство", 6),
    ("Кто выиграет тяжбу", 6),
    ("Спор, ссора, поединок", 6),
    ("Война: кто победит", 6),
    ("Открытый враг", 6),
    ("Кража: кто вор", 6),
    ("Беглец, сбежавший человек", 6),
    ("Договор, сделка с другой стороной", 6),
    ("Покупатель или продавец (о контрагенте)", 6),
    ("Врач кверента", 6),
    # eighth house
    ("Смерть: опасность для жизни", 7),
    ("Наследство, завещание", 7),
    ("Приданое, деньги супруга", 7),
    ("Деньги партнера или противника", 7),
    ("Долги, займы от других", 7),
    ("Налоги, страховые выплаты", 7),
    ("Опасность, страх, тревога", 7),
    # ninth house
    ("Дальняя поездка: удачна ли она", 8),
    ("Путешествие морем", 8),
    ("Учеба в высшей школе, ученая степень", 8),
    ("Вера, церковь, духовный сан", 8),
    ("Сны и видения: правдивы ли они", 8),
    ("Книги, издание книги", 8),
    ("Наука, знание, истинно ли учение", 8),
    ("Братья и сестры супруга", 8),
    ("Внуки", 8),
    ("Суд высшей инстанции, закон", 8),
    # tenth house
    ("Мать: ее жизнь и дела", 9),
    ("Карьера, повышение по службе", 9),
    ("Получит ли кверент должность", 9),
    ("Останется ли кверент на должности", 9),
    ("Профессия, ремесло: какое выбрать", 9),
    ("Честь, слава, репутация", 9),
    ("Начальник, работодатель", 9),
    ("Власть, правитель, судья", 9),
    ("Приговор суда", 9),
    ("Тесть и свекор", 9),
    # eleventh house
    ("Друзья: верен ли друг", 10),
    ("Сбудется ли надежда или желание", 10),
    ("Покровительство, поддержка влиятельных лиц", 10),
    ("Доход от службы, награда", 10),
    ("Общество, союз, клуб", 10),
    ("Деньги начальника", 10),
    ("Советники и приближенные правителя", 10),
    # twelfth house
    ("Тайные враги: есть ли они", 11),
    ("Заключение, тюрьма: выйдет ли узник", 11),
    ("Пленник, заложник", 11),
    ("Ссылка, изгнание", 11),
    ("Скрытые беды, печали, тайное горе", 11),
    ("Колдовство, порча", 11),
    ("Больница, уединение", 11),
    ("Крупный скот, лошади", 11),
    ("Самоубийство, тайная опасность", 11),
]

# The texts, one file each, by the name the program reads.
TEXT_NAMES = (
    ["vh", "vh1"] + ["h%d" % n for n in range(1, 13)] +
    ["bt", "fd", "ld", "mvc", "sfh", "sfh1", "mf", "s1f", "s2f", "ms", "s1s", "s2s",
     "mwoc", "s7h"] +
    ["A", "Pl", "Sl", "Rl", "Nm", "F", "R", "V", "O", "Ap"])


class SourceError(Exception):
    pass


def encode_lines(lines, what):
    out = bytearray()
    for number, line in enumerate(lines):
        if any(ord(ch) < 0x20 for ch in line):
            raise SourceError("%s, line %d: control character" % (what, number + 1))
        try:
            out += line.encode(ENCODING) + b"\r\n"
        except UnicodeEncodeError as e:
            raise SourceError("%s, line %d: no code page 1251 byte for %r" %
                              (what, number + 1, e.object[e.start:e.end]))
    return bytes(out)


def pair_files(pairs, topic_name, house_name, limit=None):
    if limit is not None and len(pairs) > limit:
        raise SourceError("%s: %d lines, at most %d" % (topic_name, len(pairs), limit))
    for text, house in pairs:
        if not 0 <= house <= 11:
            raise SourceError("%s: house %d of %r outside 0..11" % (house_name, house, text))
    return {
        topic_name: encode_lines([t for t, _ in pairs], topic_name),
        house_name: encode_lines([str(h) for _, h in pairs], house_name),
    }


def read_text(name):
    path = os.path.join(TEXTS, name + ".utf8.txt")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if not text.endswith("\n"):
        raise SourceError("%s: the last line has no line end" % path)
    return text[:-1].split("\n")


def main():
    try:
        files = {"C11.box": encode_lines(WHO_ASKS, "C11.box")}
        if len(WHO_ASKS) > 10:
            raise SourceError("C11.box: more than 10 lines")
        files.update(pair_files(CATEGORIES, "C12.box", "S12.box"))
        files.update(pair_files(SUBCATEGORIES, "C13.box", "S13.box"))
        files.update(pair_files(TOPICS, "C21.box", "S21.box"))
        for name in TEXT_NAMES:
            files[name + ".txt"] = encode_lines(read_text(name), name + ".txt")
    except (OSError, SourceError) as e:
        print("make_topics: %s; nothing written" % e, file=sys.stderr)
        return 1
    for name, data in files.items():
        write_atomic(os.path.join(OPTIONS, name), data)
    print("make_topics: wrote %d files to %s" % (len(files), OPTIONS))
    return 0


if __name__ == "__main__":
    sys.exit(main())
