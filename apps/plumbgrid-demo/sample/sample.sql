-- The demo's sample database: customers with a lookup into countries, and their orders.
-- The build turns this script into sample.db (see platform/data/CMakeLists.txt). Rows are
-- generated from small name lists so that the script stays short and the data the same on
-- every machine.

BEGIN;

CREATE TABLE countries (
  id    INTEGER PRIMARY KEY,
  name  TEXT NOT NULL UNIQUE,
  code  TEXT NOT NULL CHECK (length(code) = 2)
);

INSERT INTO countries (id, name, code) VALUES
  (1, 'Austria', 'AT'), (2, 'Belgium', 'BE'), (3, 'Brazil', 'BR'), (4, 'Canada', 'CA'),
  (5, 'Denmark', 'DK'), (6, 'Finland', 'FI'), (7, 'France', 'FR'), (8, 'Germany', 'DE'),
  (9, 'Ireland', 'IE'), (10, 'Italy', 'IT'), (11, 'Japan', 'JP'), (12, 'Mexico', 'MX'),
  (13, 'Netherlands', 'NL'), (14, 'Norway', 'NO'), (15, 'Poland', 'PL'), (16, 'Portugal', 'PT'),
  (17, 'Spain', 'ES'), (18, 'Sweden', 'SE'), (19, 'Switzerland', 'CH'),
  (20, 'United Kingdom', 'GB');

CREATE TABLE customers (
  id          INTEGER PRIMARY KEY,
  name        TEXT NOT NULL,
  email       TEXT UNIQUE,
  age         INTEGER CHECK (age BETWEEN 0 AND 150),
  balance     REAL NOT NULL DEFAULT 0,
  joined      DATE,
  active      BOOLEAN NOT NULL DEFAULT 1,
  notes       MEMO,
  photo       BLOB,
  country_id  INTEGER REFERENCES countries (id)
);

WITH RECURSIVE
  seq(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < 320),
  first(i, name) AS (VALUES
    (0, 'Anna'), (1, 'Ben'), (2, 'Clara'), (3, 'David'), (4, 'Elena'), (5, 'Felix'),
    (6, 'Greta'), (7, 'Hugo'), (8, 'Ines'), (9, 'Jonas'), (10, 'Karin'), (11, 'Leon'),
    (12, 'Mira'), (13, 'Noah'), (14, 'Olga'), (15, 'Paul')),
  last(i, name) AS (VALUES
    (0, 'Adler'), (1, 'Berger'), (2, 'Costa'), (3, 'Dubois'), (4, 'Eriksen'), (5, 'Fischer'),
    (6, 'Garcia'), (7, 'Hansen'), (8, 'Ivanova'), (9, 'Jensen'), (10, 'Kowalski'),
    (11, 'Lindqvist'), (12, 'Moreau'), (13, 'Novak'), (14, 'Olsen'), (15, 'Petit'),
    (16, 'Quinn'), (17, 'Rossi'), (18, 'Silva'), (19, 'Tanaka'))
INSERT INTO customers (id, name, email, age, balance, joined, active, notes, photo, country_id)
SELECT
  n,
  f.name || ' ' || l.name,
  lower(f.name) || '.' || lower(l.name) || '@example.com',
  CASE WHEN n % 23 = 0 THEN NULL ELSE 18 + (n * 37) % 63 END,
  round(((n * 7919) % 100000) / 100.0 - 150, 2),
  date('2012-01-01', '+' || ((n * 53) % 4000) || ' days'),
  n % 4 <> 0,
  CASE WHEN n % 5 = 0
       THEN 'Prefers to be contacted by mail.' || char(10) || 'Account reviewed ' ||
            date('2020-01-01', '+' || (n % 365) || ' days') || '.'
       ELSE NULL END,
  CASE WHEN n % 10 = 0 THEN X'89504E470D0A1A0A0000000D49484452' ELSE NULL END,
  CASE WHEN n % 31 = 0 THEN NULL ELSE 1 + (n * 7) % 20 END
FROM seq
JOIN first f ON f.i = n % 16
JOIN last l ON l.i = (n / 16) % 20;

CREATE TABLE orders (
  id           INTEGER PRIMARY KEY,
  customer_id  INTEGER NOT NULL REFERENCES customers (id),
  ordered      DATETIME NOT NULL,
  amount       CURRENCY NOT NULL CHECK (amount >= 0),
  shipped      BOOLEAN NOT NULL DEFAULT 0,
  remark       TEXT
);

WITH RECURSIVE seq(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < 900)
INSERT INTO orders (id, customer_id, ordered, amount, shipped, remark)
SELECT
  n,
  1 + (n * 13) % 320,
  datetime('2021-03-01 08:00:00', '+' || ((n * 97) % 1000) || ' days',
           '+' || ((n * 17) % 600) || ' minutes'),
  round(5 + ((n * 3571) % 50000) / 100.0, 2),
  n % 3 = 0,
  CASE n % 7 WHEN 0 THEN 'Gift wrap' WHEN 3 THEN 'Deliver after 5 pm' ELSE NULL END
FROM seq;

CREATE INDEX orders_by_customer ON orders (customer_id);

COMMIT;
