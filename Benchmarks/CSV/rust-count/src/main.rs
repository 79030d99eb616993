// Counts the records and fields of a CSV file with the csv crate, printing
// "<records> <fields>" like `csvtool --count`.
use std::env;
use std::process;

fn main() {
    let path = env::args().nth(1).unwrap_or_else(|| {
        eprintln!("usage: rust-count FILE");
        process::exit(2);
    });
    let mut reader = csv::ReaderBuilder::new()
        .has_headers(false)
        .flexible(true)
        .from_path(&path)
        .unwrap_or_else(|error| {
            eprintln!("{}: {}", path, error);
            process::exit(1);
        });
    let mut record = csv::StringRecord::new();
    let (mut records, mut fields) = (0u64, 0u64);
    loop {
        match reader.read_record(&mut record) {
            Ok(true) => {
                records += 1;
                fields += record.len() as u64;
            }
            Ok(false) => break,
            Err(error) => {
                eprintln!("{}: {}", path, error);
                process::exit(1);
            }
        }
    }
    println!("{} {}", records, fields);
}
